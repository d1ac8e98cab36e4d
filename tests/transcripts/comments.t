;; Block and line comments count as blanks wherever blanks may stand.

=== block comments between items
> 1 /* a */ + /* b */ 2
3
> /* first */ 4
4
> 8 / /* half */ 2
4
> 3/**/*/**/2
6

=== block comments do not nest
> /* a /* b */ c */
! pos:13  未定義の識別子です
> 5 /* a /* b */ + 1
6

=== a line comment runs to the end of the line
> 1 + 2 // note
3
> 1 + // 2
! pos:2  演算子に対応する被演算子がありません
> // nothing but a comment
<empty>
> /* nothing */
<empty>

=== an unclosed block comment swallows the rest of the line
> /* never closed
! pos:0  対応するコメント終了コードがありません
> 7 /* never closed
! pos:2  対応するコメント終了コードがありません
> 1 + /* never closed
! pos:4  対応するコメント終了コードがありません
> 7
7

=== a comment separates two operands without joining them
> 1 /* a */ 2
! pos:0  演算子が不足しています

=== a slash followed by anything else is an operator
> 4 /2
2
> "/* not a comment */"
"/* not a comment */"
> "// nor this"
"// nor this"
> '/'
47

=== comments inside parentheses and after them
> ( /* x */ 1 + 2 /* y */ ) * 2
6
> (1 // open
! pos:10  ) がありません

=== an unclosed comment after a declarator is reported once
> int f /* never closed
! pos:6  対応するコメント終了コードがありません
> f
! pos:0  未定義の識別子です
