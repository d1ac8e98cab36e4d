;; The nesting bound of expressions: a thousand levels of parentheses or of
;; operators are accepted, one more is refused with a syntax error at the
;; point where the bound is passed, and however long or deep a line is, the
;; next line works.

=== a megabyte of opening parentheses
@stdin-python b"(" * 1000000 + b"\n"
~ > 
! pos:1001  構文エラー
> 1 + 2
3

=== a chain of a hundred thousand additions
@stdin-python b"1+" * 100000 + b"1\n"
~ > 
! pos:2001  構文エラー
> 1 + 2
3

=== a hundred thousand minus signs separated by blanks
@stdin-python b"- " * 100000 + b"1\n"
~ > 
! pos:197998  構文エラー
> 1 + 2
3

=== a hundred thousand operands without operators
@stdin-python b"1 " * 100000 + b"\n"
~ > 
! pos:0  演算子が不足しています
> 1 + 2
3

=== a thousand levels of parentheses are accepted, one more is not
@stdin-python b"(" * 1000 + b"7" + b")" * 1000 + b"\n"
~ > 
7
@stdin-python b"(" * 1001 + b"7" + b")" * 1001 + b"\n"
~ > 
! pos:1001  構文エラー
@stdin-python b"(" * 1000 + b"7\n"
~ > 
! pos:1001  ) がありません
> 1
1

=== a thousand operator levels are accepted, one more is not
@stdin-python b"1+" * 1000 + b"1\n"
~ > 
1001
@stdin-python b"1+" * 1001 + b"1\n"
~ > 
! pos:2001  構文エラー
@stdin-python b"- " * 1000 + b"1\n"
~ > 
1
@stdin-python b"- " * 1001 + b"1\n"
~ > 
! pos:0  構文エラー
> 1
1

=== parentheses and operators count together
@stdin-python b"-" + b"(" * 1000 + b"1" + b")" * 1000 + b"\n"
~ > 
! pos:0  構文エラー
> 1
1

=== ten megabytes of additions are refused at the bound, as soon as it is passed
@stdin-python b"1+" * 5000000 + b"1\n"
~ > 
! pos:2001  構文エラー
> 1 + 2
3

=== a definition of a hundred thousand parameters
@stdin-python b"int f(" + b", ".join(b"int p%d" % i for i in range(100000)) + b") p99999 + p0\n"
~ > 
<empty>
> f
! pos:1  関数の引数がありません

=== long argument and initializer lists that name things cost their length
@stdin-python b"printf(\"%d\", " + b", ".join([b"abs(-1)"] * 100000) + b")\n"
~ > 
11
> int q = 2
<empty>
@stdin-python b"int big[60000] = {" + b", ".join([b"q + 1"] * 60000) + b"}\n"
~ > 
<empty>
> big[59999]
3
