;; Scalar variables: zeros, initializers converted to the declared type,
;; assignment, "++" and "--" storing back in the variable's own type.

=== each type starts at its zero
> char c
<empty>
> c
0
> word w
<empty>
> w
0
> float f
<empty>
> f
0
> double d
<empty>
> d
0
> bool b
<empty>
> b
false
> string s
<empty>
> s
""

=== an initializer is converted to the declared type
> char c = 300
<empty>
> c
44
> word w = -1
<empty>
> w
65535
> dword dw = -1
<empty>
> dw
4294967295
> int i = -3.99
<empty>
> i
-3
> bool b = 2
<empty>
> b
true
> double d = 1
<empty>
> d / 4
0.25
> int n = 1
<empty>
> n / 4
0

=== a variable keeps its type when assigned
> int x
<empty>
> x = 2.7
2
> x
2
> #hex
> x = 255
0x000000ff
> short s = 0
<empty>
> s = -2
0xfffe

=== a string variable takes string values only
> string s = "ab"
<empty>
> s = s + "cd"
"abcd"
> s
"abcd"
> s = 1
! pos:0  被演算子の型が合っていません

=== initializer type mismatches
> string s = 1
! pos:11  初期化式の型が合っていません
> int i = "x"
! pos:8  初期化式の型が合っていません
> s
! pos:0  未定義の識別子です

=== an initializer needs an expression
> int a =
! pos:7  初期化式が必要です
> a
! pos:0  未定義の識別子です

=== increment and decrement store the result converted to the variable's type
> char c = 127
<empty>
> ++c
128
> c
-128
> c++
-128
> c
-127
> c--
-127
> --c
-129
> c
127
> #hex
> ++c
0x00000080
> c
0x80

=== an initializer that fails at run time leaves the variable at its zero
> int z = 1 / 0
<empty>
> z
0

=== a declarator after a failing initializer never comes into existence
> int a = 1 / 0, b
<empty>
> b
! pos:0  *実体の無い変数が参照されました
> b = 1
! pos:0  *実体の無い変数が参照されました
> a
0

=== a declaration whose initializer raises the value error is dropped
> int x = 0 ? 1 : "a"
! *kestrak error : ival(1864)
> x
! pos:0  未定義の識別子です
> int x = 2
<empty>
> x
2
