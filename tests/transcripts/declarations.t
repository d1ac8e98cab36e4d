;; Declarations: a type word and its declarators. A declaration line prints
;; the empty result; its variables exist from then on.

=== a declaration prints the empty result and its variables persist
> int a = 3
<empty>
> a
3
> long b, c = 7
<empty>
> b
0
> c
7

=== several declarators, each seeing the ones before it
> int a = 1, b = a + 1, c = b * 10
<empty>
> c
20

=== long declares an int
> long x = 5
<empty>
> #hex
> x
0x00000005
> x + x
0x0000000a

=== a type word alone and a trailing comma declare nothing and are accepted
> int
<empty>
> int a,
<empty>
> a
0

=== a missing declarator after a comma
> int ,a
! pos:4  識別子がありません
> a
! pos:0  未定義の識別子です

=== a declarator followed by more text is a syntax error and declares nothing
> int a b
! pos:6  構文エラー
> a
! pos:0  未定義の識別子です

=== type words are case-sensitive, and llong and qword declare nothing
> Int x
! pos:0  未定義の識別子です
> llong x
! pos:0  未定義の識別子です
> qword x
! pos:0  未定義の識別子です

=== reserved words cannot be names
> int while
! pos:9  変数名に予約語を使用しています
> int llong
! pos:9  変数名に予約語を使用しています
> double qword = 1
! pos:12  変数名に予約語を使用しています
> int If = 2
<empty>
> If
2

=== a name may be declared once, and built-in functions are names too
> int a, a
! pos:8  この名称は既に使用されています
> a
! pos:0  未定義の識別子です
> int sin
! pos:7  この名称は既に使用されています
> int a = 1
<empty>
> int a = 2
! pos:5  この名称は既に使用されています
> double a
! pos:8  この名称は既に使用されています
> a
1

=== one wrong declarator refuses the whole line
> int p = 1, while = 2
! pos:16  変数名に予約語を使用しています
> p
! pos:0  未定義の識別子です

=== the variable listing shows declarations in order in the current radix
> #lv
> int a = 10, b
<empty>
> char c = -1
<empty>
> int m[2][3]
<empty>
> string s = "hi"
<empty>
> #lv
a=10
b=0
c=-1
m[]
s="hi"
> #hex
> #lv
a=0x0000000a
b=0x00000000
c=0xff
m[]
s="hi"

=== declarations of the include file take effect silently
@include
int inc = 5
double half = 0.5, twice = half * 4
int bad = "x"
int inc = 6
@end
> inc
5
> twice
2
> bad
! pos:0  未定義の識別子です
> #lv
inc=5
half=0.5
twice=2
