;; Initializers: «= expression» for scalars, brace lists for arrays, checked
;; against the array's shape when the declaration is parsed.

=== a brace list fills the array in order; missing items keep the zero
> int a[3] = {1, 2}
<empty>
> a[0]
1
> a[1]
2
> a[2]
0

=== nested lists fill the rows of a matrix
> int m[2][3] = {{1, 2, 3}, {4, 5}}
<empty>
> m[0][2]
3
> m[1][1]
5
> m[1][2]
0
> int n[2][2] = {{1}}
<empty>
> n[0][0] + n[0][1] + n[1][0] + n[1][1]
1

=== items are expressions of earlier names, converted to the element type
> int v = 4
<empty>
> char c[3] = {v, v * 75, -1}
<empty>
> c[1]
44
> c[2]
-1
> double d[2] = {1, v / 8.0}
<empty>
> d[1]
0.5
> string s[2] = {"a", "b" + "c"}
<empty>
> s[1]
"bc"

=== a parenthesised item stands alone
> int a[2] = {1, (2)}
<empty>
> a[1]
2
> int b[2] = {(1)+2}
! pos:15  } がありません

=== too many items
> int b[3] = {1, 2, 3, 4}
! pos:12  配列初期化式が多すぎます
! pos:23  初期化式が正しくありません
> int m[2][2] = {{1, 2}, {3, 4}, {5}}
! pos:15  配列初期化式が多すぎます
! pos:35  初期化式が正しくありません
> int r[2][2] = {{1, 2, 3}}
! pos:16  配列初期化式が多すぎます
! pos:25  初期化式が正しくありません
> b
! pos:0  未定義の識別子です

=== lists must nest exactly as deep as the array
> int c[2][2] = {1, 2}
! pos:15  配列初期化式リストが必要です
! pos:20  初期化式が正しくありません
> int d[2] = {{1}}
! pos:13  配列初期化式リストは使用できません
! pos:16  初期化式が正しくありません

=== an array initializer must be a brace list
> int e[2] = 5
! pos:11  配列初期化式リストが必要です
> int e[2] =
! pos:10  配列初期化式リストが必要です

=== empty items and unclosed lists
> int g[2] = {}
! pos:12  初期化式が必要です
> int h[2] = {1, 2
! pos:16  } がありません
> int k[2] = {1, 2,}
! pos:17  初期化式が必要です
> int p[2][2] = {{1}, {}}
! pos:21  初期化式が必要です

=== string elements take strings only
> string t[2] = {"a", 1}
! pos:20  初期化式の型が合っていません
! pos:22  初期化式が正しくありません
> int u[2] = {1, "x"}
! pos:15  初期化式の型が合っていません
! pos:19  初期化式が正しくありません

=== an element that raises the value error drops the declaration
> int z[2] = {1, 0 ? 2 : "b"}
! *kestrak error : ival(1864)
> z
! pos:0  未定義の識別子です

=== an item that fails at run time stops the filling
> int f[3] = {1, 2 / 0, 3}
<empty>
> f[0]
1
> f[2]
0
