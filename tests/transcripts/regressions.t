;; Faults found after the first build, each pinned by the smallest line that
;; showed it.

=== a reserved word cannot name a user function, so "false" stays a literal
> void false() 1
! pos:0  未定義の識別子です
> false
false
> int while(int a) a
! pos:9  変数名に予約語を使用しています
> int if() 1
! pos:6  変数名に予約語を使用しています

=== no diagnostic claims that text is missing when an earlier fault stopped the parse
> int gv
<empty>
> int pf(int gv) gv
! pos:13  この名称は既に使用されています
> int g(int a) zz
! pos:13  未定義の識別子です
> int h(string s) s - 1
! pos:16  被演算子の型が合っていません
> int k(int) 0
! pos:9  識別子がありません
> int a = "x", b = 1.5
! pos:8  初期化式の型が合っていません
> b
! pos:0  未定義の識別子です
;; Faults the parser reaches are all reported.
> int ,,c
! pos:4  識別子がありません
! pos:5  識別子がありません
> int f() 
! pos:8  式が必要です
> int d = 1, e =
! pos:14  初期化式が必要です

=== a name may begin with true or false
> int truex = 1
<empty>
> truex + 1
2
> int false_count = 2
<empty>
> false_count
2
> truey
! pos:0  未定義の識別子です
> true+1
2

=== an assigned element's subscripts are evaluated once
> int a[3] = {7, 8, 9}
<empty>
> int i = 0
<empty>
> a[i++] = 5
5
> i
1
> a[0] + a[1] * 10
85
> i = -1
-1
> a[i++] = 6
! pos:0  誤った配列参照が行われました
> i
0
> a[0]
5
> char cs[1]
<empty>
> cs[0] = 300
44

=== a string is shown up to its first zero byte
> "a\0b"
"a"
> string t = "xy"
<empty>
> strcpy(t, "a\0b")
"a"
> t + "c"
"ac"
> strlen(t)
1
> #lv
t="a"

=== a subscript an earlier fault left unread is not wrong
> int a[0], b[2]
! pos:5  配列のサイズが０以下です
> int c[2] = {1, x}, d[2]
! pos:15  未定義の識別子です

=== an initial value that was read and failed is not called missing
> int area = w * h
! pos:11  未定義の識別子です
> int v[2] = {1, w}
! pos:15  未定義の識別子です
> int &r = nowhere
! pos:9  未定義の識別子です
> int ok =
! pos:8  初期化式が必要です
> int list[2] = {1, }
! pos:18  初期化式が必要です
> int &bare
! pos:9  参照は初期化が必要です
> area
! pos:0  未定義の識別子です
