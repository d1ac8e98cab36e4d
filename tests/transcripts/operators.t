;; What each operator computes, in which type, which operand types it
;; accepts before and while running, and what it reports.

=== int with int gives long; division truncates toward zero
> 7 / 2
3
> 7 / -2
-3
> 7 % -2
1
> -7 % 2
-1
> #hex
> 7 / -2
0xfffffffd

=== addition wraps around in every integer width
> 'd' + 'd'
-56
> byte b = 200
<empty>
> b + b
144
> short s = 32767
<empty>
> s + s
-2
> word w = 65535
<empty>
> w + w
65534
> 2147483647 + 1
-2147483648
> 0xFFFFFFFF + 1
0
> #hex
> 'd' + 'd'
0xc8
> s + s
0xfffe

=== the smallest int divided by minus one
> -2147483648 / -1
-2147483648
> -2147483648 % -1
0

=== subtraction, multiplication and the other numeric types
> 1 - 3
-2
> 0 - 0xFFFFFFFF
1
> 1.5 * 2
3
> 1 / 2.0
0.5
> 1$2 + 1$3
5$6
> 1$2 * 2
1$1
> 1$2 / -1$3
3$-2
> true + false
true

=== division by zero is refused whatever the dividend
> 5/0
! pos:1  ０で除算しました
> 5.0/0.0
! pos:3  ０で除算しました
> 1/false
! pos:1  ０で除算しました
> 5%0
! pos:1  ０で除算しました
> 1.5 / 0$1
! pos:4  ０で除算しました
> "a" / 0
! pos:0  被演算子の型が合っていません

=== the remainder needs integers when it runs
> 5.5%2
! pos:3  演算子の対象が不正です
> 7 % 3
1

=== comparisons give bool
> 1 < 2
true
> 2 <= 2
true
> 3 > 4
false
> 3 >= 4
false
> 1 == 1.0
true
> 1$3 < 1$2
true
> "ab" == "ab"
true
> "ab" != "ac"
true
> "a" < "b"
! pos:0  被演算子の型が合っていません
> "a" == 1
! pos:0  被演算子の型が合っていません

=== logical operators evaluate their right side only when needed
> int x
<empty>
> 0 && (x = 5)
false
> x
0
> 1 || (x = 5)
true
> x
0
> 1 && (x = 5)
true
> x
5
> 0 || (x = 0)
false
> x
0
> 2 && 0.5
true

=== bitwise operators and shifts
> 6 & 3
2
> 6 | 3
7
> 6 ^ 3
5
> 1 << 4
16
> -16 >> 2
-4
> 0xFFFFFFF0 >> 4
268435455
> 1 << 33
2
> 1.5 & 1
! pos:0  被演算子の型が合っていません
> 1 << 1.5
! pos:0  被演算子の型が合っていません
> true | 1
! pos:0  被演算子の型が合っていません

=== complement gives a dword, logical not a bool
> ~0
4294967295
> ~'A'
4294967230
> ~-1
0
> !5
false
> !0
true
> !0.0
true
> ~1.5
! pos:1  被演算子の型が合っていません
> !"a"
! pos:1  被演算子の型が合っていません

=== signs keep the operand's type
> -true
false
> +'A'
65
> -'A'
-65
> #hex
> -'A'
0xbf
> -0x80000000
0x80000000
> -1.5
-1.5
> -1$2
-1$2

=== strings are added and compared, nothing else
> "ab" + "cd"
"abcd"
> "ab" + 1
! pos:0  被演算子の型が合っていません
> 1 + "ab"
! pos:0  被演算子の型が合っていません
> "ab" - "b"
! pos:0  被演算子の型が合っていません
> -"a"
! pos:1  被演算子の型が合っていません
> (1 + 2) * "a"
! pos:0  被演算子の型が合っていません

=== a conditional yields the chosen branch in its own type
> 1 ? 'A' : 2.5
65
> 0 ? 'A' : 2.5
2.5
> 0 ? 1 : "x"
"x"
> "s" ? 1 : 2
! pos:0  被演算子の型が合っていません
> 1.5 ? 1 : 2
1

=== only the chosen branch of a conditional runs
> int x
<empty>
> 1 ? 1 : (x = 9)
1
> x
0

=== a comma drops its left value
> (1, 2)
2
> 1, 'A'
65
> int a
<empty>
> a = 4, a * 2
8

=== increments store back in the variable's type
> char c = 127
<empty>
> ++c
128
> c
-128
> c = 127
127
> c++
127
> c
-128
> double d = 0.5
<empty>
> d++
0.5
> d
1.5
> --d
0.5

=== increments refuse strings
> string z = "a"
<empty>
> ++z
! pos:2  被演算子の型が合っていません
> z--
! pos:0  被演算子の型が合っていません

=== assignment stores in the target's type and yields the target
> int a
<empty>
> char b
<empty>
> a = b = 3
3
> a = 2.7
2
> b = 300
44
> #hex
> a = b = 3
0x00000003

=== assignment needs a variable of a fitting type
> 3 = 4
! pos:0  被演算子は変数でなければなりません
> int s
<empty>
> s = "x"
! pos:0  被演算子の型が合っていません
> string z
<empty>
> z = 1
! pos:0  被演算子の型が合っていません
> z = "ok"
"ok"
> (s) = 1
! pos:0  被演算子は変数でなければなりません

=== assignment to an array element
> int a[3]
<empty>
> a[1] = 2.7
2
> a[1]
2
> a[3] = 1
! pos:0  誤った配列参照が行われました
