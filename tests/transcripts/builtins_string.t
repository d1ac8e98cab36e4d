;; String built-ins and number/text conversions, with their output
;; arguments, parameter faults and logged conversion errors.

=== strcat joins and writes the result back to its first argument
> string s = "ab"
<empty>
> strcat(s, "cd")
"abcd"
> s
"abcd"
> strcat(s, "")
"abcd"

=== strcat joins the C strings: a zero byte ends each, as it does for "+"
> string s = "a\0b"
<empty>
> strcat(s, "c")
"ac"
> s
"ac"
> strlen(s)
2
> string t = "x"
<empty>
> strcat(t, "y\0z")
"xy"
> s + "c" == strcat(s, "c")
true

=== strcpy copies the second string into the first variable
> string s = "old"
<empty>
> string t = "new"
<empty>
> strcpy(s, t)
"new"
> s
"new"
> t
"new"

=== strcmp gives exactly -1, 0 or 1 and compares bytes unsigned
> strcmp("abc", "abc")
0
> strcmp("a", "z")
-1
> strcmp("z", "a")
1
> strcmp("ab", "abc")
-1
> strcmp("あ", "z")
1
> strcmp("", "")
0

=== strlen counts bytes before the first zero byte
> strlen("")
0
> strlen("abc")
3
> strlen("あい")
6

=== atoi and atol read a leading decimal integer
> atoi("  -42abc")
-42
> atoi("+7")
7
> atoi("x12")
0
> atoi("")
0
> atol("123456")
123456
;; A number beyond 32 bits saturates rather than wrapping.
> atoi("99999999999")
2147483647
> atoi("-99999999999")
-2147483648

=== atof reads a leading floating-point number
> atof("2.5e1x")
25
> atof(" -0.125")
-0.125
> atof("abc")
0

=== itoa writes the digits in the radix and stores them in its output
> string s
<empty>
> itoa(255, s, 16)
"ff"
> s
"ff"
> itoa(-1, s, 16)
"ffffffff"
> itoa(-1, s, 10)
"-1"
> itoa(5, s, 2)
"101"
> itoa(35, s, 36)
"z"
> itoa(0, s, 8)
"0"
> ltoa(-255, s, 16)
"ffffff01"
> ultoa(-1, s, 10)
"4294967295"
> ultoa(4294967295, s, 16)
"ffffffff"

=== a radix outside 2 to 36 is an invalid parameter
> string s = "keep"
<empty>
> itoa(1, s, 1)
! pos:0  関数の実行で例外が発生しました
> ltoa(1, s, 37)
! pos:0  関数の実行で例外が発生しました
> ultoa(1, s, -16)
! pos:0  関数の実行で例外が発生しました
> s
"keep"
L _invalid_parameter
L _invalid_parameter
L _invalid_parameter

=== gcvt formats with the given number of significant digits
> string s
<empty>
> gcvt(3.14159, 3, s)
"3.14"
> s
"3.14"
> gcvt(1234567.0, 3, s)
"1.23e+06"
> gcvt(-0.5, 5, s)
"-0.5"

=== gcvt refuses digit counts it cannot hold
> string s = "keep"
<empty>
> gcvt(1, -1, s)
! pos:0  関数の実行で例外が発生しました
> gcvt(1, 349, s)
""
> s
""
L _invalid_parameter
L gcvt : error(Numerical result out of range)
