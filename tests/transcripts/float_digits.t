;; "#form N": the significant digits of floating results and "#lv" values.
;; "#form" alone is the design's unavailable command (commands.t).

=== six digits by default; #form 17 shows a double exactly, #form 1 one digit
> 1.0 / 3
0.333333
> #form 17
> 1.0 / 3
0.33333333333333331
> 0.1 + 0.2
0.30000000000000004
> #form 1
> 2.0 / 3
0.7
> 1e20 / 3
3e+19
> #form 6
> 1.0 / 3
0.333333

=== a float is shown widened to double
> #form 12
> float f = 0.1
<empty>
> f
0.10000000149
> 0.1
0.1

=== the variable listing follows #form, in every radix
> double d = 2.0 / 3
<empty>
> int i = 7
<empty>
> #form 10
> #hex
> #lv
d=0.6666666667
i=0x00000007
> d
0.6666666667

=== integers, fractions, bools and strings do not change
> #form 2
> 123456
123456
> 1$3
1$3
> true
true
> "1.23456"
"1.23456"
> 10.0 / 4
2.5

=== upper case and several blanks are accepted, as for every command
> #FORM 	 3
> 3.14159
3.14

=== 0, 18, a sign or a word are no digits: the command is wrong, the digits stay
@args /s
@silent
> #form 3
> #form 0
! コマンド '#form 0' が間違っています
> #form 18
! コマンド '#form 18' が間違っています
> #form +5
! コマンド '#form +5' が間違っています
> #form six
! コマンド '#form six' が間違っています
> #form5
! コマンド '#form5' が間違っています
> double d = 3.14159
> #lv
d=3.14
