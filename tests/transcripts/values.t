;; Typed values as the prompt shows them: arithmetic in the common type,
;; wrap-around, fractions, shifts, and the text forms in the four radixes.

=== sums and products of ints are longs that wrap around
> 2147483647 + 1
-2147483648
> 65536 * 65536
0
> 0xffffffff + 1
0

=== the smallest int divided by -1 stays itself, with remainder 0
> int m = -2147483647 - 1
<empty>
> m / -1
-2147483648
> m % -1
0

=== integer division truncates toward zero in the common type
> 7 / -2
-3
> 7 % -2
1
> -7 % 2
-1
> 0x7 / -2
0

=== narrow types wrap in their own width
> char c = 100
<empty>
> c + c
-56
> byte b = 200
<empty>
> b + c
44
> char lowest = -128
<empty>
> char minus = -1
<empty>
> lowest / minus
-128

=== bools combine logically
> true + false
true
> true - true
false
> true * false
false
> true / true
false
> -true
false

=== fractions stay reduced and keep the sign of the denominator
> 1$2 + 1$3
5$6
> 1$2 - 1$2
0$1
> 1$4 * 2
1$2
> 1$2 / -1$3
3$-2

=== fractions compare by their quotients
> 1$3 < 1$2
true
> 1$3 < 0.34
true
> 2$4 == 1$2
true

=== right shifts copy the sign bit of signed types only
> word w = 65535
<empty>
> w >> 4
4095
> short s = -16
<empty>
> s >> 2
-4
> 0x80000000 >> 31
1
> char m1 = -1
<empty>
> m1 >> 20
-1
> 1 << 33
2

=== hexadecimal shows the full width of integers only
> #hex
> byte b = 255
<empty>
> b
0xff
> short s = -2
<empty>
> s
0xfffe
> 0 - 1
0xffffffff
> 0.1
0.1
> true
true
> 3$4
3$4
> "ab"
"ab"

=== octal shows the full width with a leading zero
> #oct
> byte b = 255
<empty>
> b
0377
> short s = -2
<empty>
> s
0177776
> 0 - 1
037777777777

=== binary shows every bit of the type's width
> #bin
> char c = -1
<empty>
> c
0b11111111
> word w = 5
<empty>
> w
0b0000000000000101
> 1
0b00000000000000000000000000000001
> 1e20
1e+20

=== decimal shows unsigned types unsigned and floating values with %g
> 0xffffffff
4294967295
> 1e20
1e+20
> 1234567.0
1.23457e+06
> 0.1
0.1
