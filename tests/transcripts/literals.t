;; Every literal form, the type it gives (seen through the radix forms of
;; the printed result), escapes, and the diagnostics of malformed literals.

=== a decimal literal is an int
> 10
10
> 0
0
> 08
8
> 089
89
> #hex
> 10
0x0000000a
> #oct
> 10
000000000012
> #bin
> 10
0b00000000000000000000000000001010

=== octal, hexadecimal and binary literals are dwords
> 010
8
> 0x10
16
> 0XfF
255
> 0b11
3
> 0B1
1
> 0xFFFFFFFF
4294967295
> -0x1
4294967295
> #hex
> 010
0x00000008
> 0b101
0x00000005

=== literals beyond 32 bits keep their low 32 bits
> 4294967295
-1
> 2147483648
-2147483648
> 4294967296
0
> 0x100000001
1
> 040000000001
1
> 0b111111111111111111111111111111111
4294967295

=== floating literals are doubles
> 1.
1
> .5
0.5
> 1e3
1000
> 1E+3
1000
> 1.5e-2
0.015
> 0.5
0.5
> 00.5
0.5
> 017e1
170
> 1e20
1e+20
> 1e400
inf
> 1e-400
0
> 4.9e-324
4.94066e-324
> 0.1 + 0.2
0.3
> #hex
> 0.5
0.5

=== malformed numbers
> .
! pos:0  数値定数記述が誤っています
> 0x
! pos:0  数値定数記述が誤っています
> 0xg
! pos:0  数値定数記述が誤っています
> 1e
! pos:0  数値定数記述が誤っています
> 1e+
! pos:0  数値定数記述が誤っています
> 1ex
! pos:0  数値定数記述が誤っています
> 0b2
! pos:0  数値定数記述が誤っています

=== a malformed literal at the end of the line is reported once
> 2 * 0b
! pos:4  数値定数記述が誤っています

=== a number ends where its form ends
> 12abc
! pos:2  未定義の識別子です
> 0b102
! pos:0  演算子が不足しています
> 1.5$2
! pos:3  構文エラー

=== fraction literals are reduced
> 3$4
3$4
> 6$8
3$4
> 1$1$2
3$2
> 1$2$3
5$3
> 0$5
0$1
> 5$0
1$0
> 2 + 1$2
5$2
> #hex
> 3$4
3$4

=== a fraction of zero over zero stays as written
> 0$0
0$0
> 0$0$0
0$0

=== malformed fractions
> 1$
! pos:0  分数定数値の記述が誤っています
> 1$2$
! pos:0  分数定数値の記述が誤っています
> 2 + 1$x
! pos:4  分数定数値の記述が誤っています

=== a character literal is one char
> 'A'
65
> #hex
> 'A'
0x41
> #bin
> 'A'
0b01000001
> #dec
> '\'
92

=== malformed character literals
> 'AB'
! pos:1  定数値を切り詰めました
> ''
! pos:1  定数値がありません
> 'A
! pos:2  対応する引用符がありません
> '\n'
! pos:1  定数値を切り詰めました
> 'あ'
! pos:1  使用できない文字コードを検出しました
! pos:1  定数値がありません
! pos:1  対応する引用符がありません
> 'xあ'
! pos:1  使用できない文字コードを検出しました
! pos:2  対応する引用符がありません

=== a control character inside quotes
@escapes
> '\t'
! pos:1  使用できない文字コードを検出しました
! pos:1  定数値がありません
! pos:1  対応する引用符がありません
> "a\tb"
! pos:2  使用できない文字コードを検出しました
! pos:2  対応する引用符がありません

=== string literals and their escapes
> "abc"
"abc"
> ""
""
> "あいう"
"あいう"
> "\101\x42"
"AB"
> "\x41" == "A"
true
> "\x414" == "\x14"
true
> "\18" == "\0018"
true
> "\q" == "q"
! pos:2  エスケープシーケンスが正しくありません
> "a\"b"
"a"b"
> "a\\b"
"a\b"
> "it\'s"
"it's"
> "\x" == "\0"
true

=== the simple escapes give their control bytes
@escapes
> "\\n\\t\\v\\b\\r\\f\\a"
"\n\t\x0b\x08\r\x0c\x07"

=== malformed string literals
> "abc
! pos:4  対応する引用符がありません
> "ab\
! pos:4  対応する引用符がありません
> "\z
! pos:2  エスケープシーケンスが正しくありません
! pos:3  対応する引用符がありません

=== true and false are bool constants, case-sensitively
> true
true
> false
false
> #hex
> true
true
> True
! pos:0  未定義の識別子です
> falsey
! pos:0  未定義の識別子です
> trueX
! pos:0  未定義の識別子です

=== blanks and comments before a literal are skipped
> 2 * /* c */ 0x10
32
>   'A' + 1
66

=== a fault in an operation on a fraction points at the fraction
> 1 + (1$2 + "a")
! pos:5  被演算子の型が合っていません
>   3$4 << 1
! pos:2  被演算子の型が合っていません
