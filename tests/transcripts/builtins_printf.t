;; printf: each conversion is checked against the type its argument evaluated
;; to and formatted as C formats it; a call that fails prints nothing.

=== integer conversions with flags and widths
> printf("%d|%5d|%-5d|%05d|%+d\n", 42, 42, 42, 42, 42)
42|   42|42   |00042|+42
25
> printf("%x %X %#o %u\n", 255, 255, 8, -1)
ff FF 010 4294967295
21
> printf("%i\n", -7)
-7
3

=== small and unsigned types are promoted as C promotes them
> char c = -5
<empty>
> printf("%d\n", c)
-5
3
> byte b = 250
<empty>
> printf("%d %x\n", b, b)
250 fa
7
> printf("%d\n", true)
1
2
> dword w = 4294967295
<empty>
> printf("%d %u\n", w, w)
-1 4294967295
14

=== l is numora's 32-bit long; ll, j, z and t widen the value by its own signedness
> dword w = 4294967295
<empty>
> printf("%ld %lx %lu %lld\n", -1, -1, -1, w)
-1 ffffffff 4294967295 4294967295
34
> printf("%llu %llx %lli %lu %lo\n", -1, -1, w, w, 8)
18446744073709551615 ffffffffffffffff 4294967295 4294967295 10
63
> printf("%hhd %hd %zu %jd %td\n", 300, 65537, 5, -3, 9)
44 1 5 -3 9
12

=== floating conversions take float and double
> printf("%.3f %e %g\n", 3.14159, 12345.678, 0.0001)
3.142 1.234568e+04 0.0001
26
> float f = 0.5
<empty>
> printf("%5.2f|%G|%a\n", f, 1e-10, 1.0)
 0.50|1E-10|0x1p+0
19
> printf("%lf %Lf\n", 1.5, 2.5)
1.500000 2.500000
18

=== characters and strings
> printf("%s and %c\n", "abc", 65)
abc and A
10
> printf("[%5.1s][%-4s]\n", "abc", "x")
[    a][x   ]
14
> printf("%s\n", "あい")
あい
7

=== widths and precisions taken from arguments
> printf("%*d|%-*d|%.*f\n", 4, 7, 3, 8, 2, 1.5)
   7|8  |1.50
14
> printf("%*d|\n", -3, 1)
1  |
5
> printf("%.*f\n", -1, 0.5)
0.500000
9

=== percent signs, unknown conversions and extra arguments
> printf("100%%\n")
100%
5
> printf("%y\n")
%y
3
> printf("x\n", 1, "two", 3.0)
x
2
> printf("abc")
~ abc
3
> printf("")
0

=== a mismatched argument fails the call and prints nothing
> printf("a%d\n", 1$2)
! pos:0  パラメータの型が合っていません
> printf("a%d\n", "x")
! pos:0  パラメータの型が合っていません
> printf("a%s\n", 5)
! pos:0  パラメータの型が合っていません
> printf("a%f\n", 1)
! pos:0  パラメータの型が合っていません
> printf("a%c\n", 1.5)
! pos:0  パラメータの型が合っていません
> printf("a%*d\n", 1.5, 2)
! pos:0  パラメータの型が合っていません
> printf("a%d\n", 1, 1$2)
! pos:0  パラメータの型が合っていません
> printf("a%d\n", srand(1))
! pos:0  パラメータの型が合っていません
> printf("a%ls\n", "x")
! pos:0  パラメータの型が合っていません

=== too few arguments fail the call and print nothing
> printf("a%d %d\n", 1)
! pos:0  パラメータの数が合っていません
> printf("a%*d\n", 5)
! pos:0  パラメータの数が合っていません

=== conversions that write to memory or show addresses are refused
> int n
<empty>
> printf("a%n\n", n)
! pos:0  パラメータの型が合っていません
> printf("a%p\n", n)
! pos:0  パラメータの型が合っていません

=== field widths and precisions are bounded
> printf("%2000000000d\n", 1)
! pos:0  関数の実行に失敗しました
> printf("%.5000f\n", 1.0)
! pos:0  関数の実行に失敗しました
> printf("%*d\n", 2000000000, 1)
! pos:0  関数の実行に失敗しました
> printf("%4096d|\n", 1) > 0
@stdout-python b" " * 4095 + b"1|\ntrue\n"

=== an argument that fails to evaluate fails the call
> printf("%d\n", 1 / 0)
! pos:17  ０で除算しました
