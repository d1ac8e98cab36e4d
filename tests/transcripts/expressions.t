;; How a line becomes one expression tree: the precedence and associativity
;; of every level, signs and increments, conditionals and commas, and the
;; parser's diagnostics with their positions.

=== multiplication binds tighter than addition
> 1 + 2 * 3
7
> (1 + 2) * 3
9
> 2 * 3 + 4
10

=== each precedence level binds tighter than the next
> 2 * 3 % 4
2
> 2 + 3 << 1
10
> 1 << 2 < 5
true
> 1 < 2 == 2 > 1
true
> 6 & 3 ^ 1
3
> 5 ^ 1 | 1
5
> 1 | 2 && 0
false
> 1 || 0 && 0
true
> 0 && 1 || 1
true

=== binary operators of one level group from the left
> 3 - 1 - 1
1
> 8 / 4 / 2
1
> 7 - 2 + 1
6
> 1 << 2 >> 1
2
> 2 * 3 / 4
1

=== assignment groups from the right
> int a, b, c
<empty>
> a = b = 3
3
> a + b
6
> a = 1, b = 2
2
> a
1

=== a sign is unary at the start and after an operator, binary after an operand
> -1
-1
> 2 -1
1
> 2 - -1
3
> 2*-3
-6

=== unary operators group from the right, signs included
> - -5
5
> - - -1
-1
> -~0
1
> +!0
true
> !-1
false

=== increments attach to the variable next to them
> int n = 5
<empty>
> -n++
-5
> n
6
> n++ - 1
5
> ++n * 2
16
> --n
7
> n--
7
> n
6
> int x = 1, y = 10
<empty>
> x+++y
11
> x
2

=== a conditional takes its operands as in C
> 1 ? 2 : 3
2
> 0 ? 2 : 3
3
> 1 ? 0 ? 4 : 5 : 6
5
> 0 ? 4 : 1 ? 5 : 6
5
> 0 ? 4 : 0 ? 5 : 6
6
> 1 || 0 ? 7 : 8
7

=== a comma after a complete conditional ends it
> 1 ? 2 : 3, 4
4
> int i = 1, t = 0, j = 2
<empty>
> i, t ? i : -j
-2
> 1 ? 1, 2 : 3
2

=== an assignment may be the value of a conditional and take one
> int a
<empty>
> a = 0 ? 10 : 20
20
> 1 ? a = 7 : 8
7
> a
7

=== a colon without its question mark has no value of its own
> :
<empty>
> 1 : 2
! pos:0  演算子が不足しています

=== two operands without an operator between them
> 1 2
! pos:0  演算子が不足しています
> 1 (2)
! pos:0  演算子が不足しています
> 3 * 2 5
! pos:0  演算子が不足しています

=== an operator without its operands
> 1 +
! pos:2  演算子に対応する被演算子がありません
> 1 ? 2
! pos:2  演算子に対応する被演算子がありません
> *
! pos:0  演算子に対応する被演算子がありません

=== two-character operators are read first
> int a = 1, b = 2
<empty>
> a<<=b
! pos:1  演算子に対応する被演算子がありません
> a<=b
true
> a=<b
! pos:1  演算子に対応する被演算子がありません
> a!=b
true
> a=!b
0
> a & &b
! pos:2  演算子に対応する被演算子がありません

=== increments need a plain variable next to them
> ++1
! pos:0  被演算子は変数でなければなりません
> 1--
! pos:1  被演算子は変数でなければなりません
> int q[3]
<empty>
> q[0]++
! pos:4  被演算子は変数でなければなりません
> int v
<empty>
> ++(v)
! pos:0  被演算子は変数でなければなりません

=== the value of an increment cannot be incremented again
> int v = 1
<empty>
> ++v++
! pos:3  被演算子は変数でなければなりません
> v
1

=== parentheses
> (1 + 2
! pos:6  ) がありません
> ()
! pos:1  式は省略できません
> ( )
! pos:2  式は省略できません
> (1, 2)
2
> ((((4))))
4

=== a name that is neither a variable nor a function
> abc
! pos:0  未定義の識別子です
> 1 + abc * 2
! pos:4  未定義の識別子です

=== text that starts no item ends the expression
> 1 ; 2
! pos:2  構文エラー
> 1 )
! pos:2  構文エラー
> 1 ]
! pos:2  構文エラー
> 1 + 2 $
! pos:6  構文エラー

=== positions count from the start of the line as typed
>    1 2
! pos:3  演算子が不足しています
>   (1
! pos:4  ) がありません

=== a group that comes to no value while it is read is read again as an item
> int k = 1
<empty>
> (k = 5) + k
10
> (2 + (k++)) * 10
70
> k
6
> (1 + 2
! pos:6  ) がありません
> ((1 + 2) * (3 + zz))
! pos:16  未定義の識別子です
> ((((((((((((((((((((((((((((((((((((((((7))))))))))))))))))))))))))))))))))))))))
7
> (1 / 0) + 1
! pos:3  ０で除算しました
> -(2 * (3 - (4 + rand() * 0)))
2
> (1, 2) + 1
3
> (k) * (2)
12
