;; Mathematics built-ins: result types, output arguments and math errors,
;; and the pseudo-random sequence.

=== abs keeps floating arguments floating and integers int
> abs(-3)
3
> abs(-2.5)
2.5
> abs(7)
7
> abs(-2147483647 - 1)
-2147483648
> labs(-7)
7

=== max and min return a copy of one argument in its own type
> max(1, 2.5)
2.5
> max(3, 3.0)
3
> max(1, 2)
2
> min(2, 1)
1
> min(1.5, 2)
1.5
> #hex
> max(1, 2)
0x00000002

=== frexp and modf write their second part to the output argument
> int e
<empty>
> frexp(8, e)
0.5
> e
4
> double d
<empty>
> modf(-2.5, d)
-0.5
> d
-2
> frexp(0, e)
0
> e
0

=== the functions of the C library
> sqrt(16)
4
> pow(2, 10)
1024
> fmod(7, 3)
1
> fmod(-7, 3)
-1
> atan2(1, 1)
0.785398
> hypot(3, 4)
5
> ldexp(1, 10)
1024
> ceil(1.2)
2
> floor(-1.2)
-2
> fabs(-0.5)
0.5
> log10(1000)
3
> log(1)
0
> exp(0)
1
> cos(0)
1
> sin(0)
0
> tan(0)
0
> cosh(0)
1
> sinh(0)
0
> tanh(0)
0
> asin(1)
1.5708
> acos(1)
0
> atan(1)
0.785398

=== math errors fail the call
> sqrt(-1)
! pos:0  関数の実行で例外が発生しました
> log(0)
! pos:0  関数の実行で例外が発生しました
> log(-1)
! pos:0  関数の実行で例外が発生しました
> acos(2)
! pos:0  関数の実行で例外が発生しました
> exp(1000)
! pos:0  関数の実行で例外が発生しました
> exp(-1000)
! pos:0  関数の実行で例外が発生しました
> pow(0, -1)
! pos:0  関数の実行で例外が発生しました
> fmod(1, 0)
! pos:0  関数の実行で例外が発生しました
> ldexp(1, 5000)
! pos:0  関数の実行で例外が発生しました
> 2 * sqrt(-4)
! pos:4  関数の実行で例外が発生しました
> sqrt(4)
2

=== srand restarts the sequence; rand stays within 0 to 32767
> srand(1)
<empty>
> rand()
16838
> rand()
5758
> rand()
10113
> srand(1)
<empty>
> rand()
16838
> srand(42)
<empty>
> rand()
19081

=== the sequence starts as if seeded with 1
> rand()
16838
