;; Arrays: sizes checked while the declaration is parsed, element reads and
;; stores with bounds checks.

=== elements are read and stored through subscripts
> int a[3]
<empty>
> a[0] = 5
5
> a[0]
5
> a[1]
0
> a[1] = 2.7
2
> a[1] + a[0]
7
> int i = 2
<empty>
> a[i] = 9
9
> a[i - 2]
5

=== subscripts out of range or of the wrong number
> int a[3]
<empty>
> a[3]
! pos:0  誤った配列参照が行われました
> a[-1]
! pos:0  誤った配列参照が行われました
> a[0][0]
! pos:0  誤った配列参照が行われました
> a[3] = 1
! pos:0  誤った配列参照が行われました
> 1 + a[3]
! pos:4  誤った配列参照が行われました

=== several dimensions are stored row by row
> int m[2][3]
<empty>
> m[1][2] = 12
12
> m[0][2] = 2
2
> m[1][2]
12
> m[0][2]
2
> m[2][0]
! pos:0  誤った配列参照が行われました
> m[0][3]
! pos:0  誤った配列参照が行われました
> m[1]
! pos:0  誤った配列参照が行われました

=== an element is the same however it is written
;; An element with plain numbers for subscripts is read from its tokens; a
;; subscript worked out, or a sum around it, reaches it another way.
> int w[2][3]
<empty>
> w[1][2] = 12
12
> w[1][1]
0
> w[1][1 + 1]
12
> w[1][2] * 1
12
> w[0][2] = w[1][2] + 1
13
> w[0][1 + 1]
13

=== elements keep the array's type
> char c[2]
<empty>
> c[0] = 300
44
> #hex
> c[1] = -1
0xff
> string s[2]
<empty>
> s[1]
""
> s[1] = "x"
"x"
> s[0] = 1
! pos:0  被演算子の型が合っていません

=== sizes must be at least 1 and the array at most 65536 elements
> int a[0]
! pos:5  配列のサイズが０以下です
> int a[0][5]
! pos:5  配列のサイズが０以下です
> int a[-1][5]
! pos:5  配列のサイズが０以下です
> int a[65537]
! pos:5  配列全体のサイズが大きすぎます
> int a[1000][1000]
! pos:5  配列全体のサイズが大きすぎます
> int a[65537][1]
! pos:5  配列全体のサイズが大きすぎます
> int a[65536][65536][65536]
! pos:5  配列全体のサイズが大きすぎます
> a
! pos:0  未定義の識別子です
> int a[65536]
<empty>
> a[65535] = 7
7
> int b[256][256]
<empty>
> b[255][255] = 8
8
> a[65535] + b[255][255]
15

=== sizes must be constant integers
> int n = 3
<empty>
> int a[n]
! pos:6  未定義のメッセージ(17.11)
> int a[1.5]
! pos:6  初期化式が正しくありません
> int a["3"]
! pos:6  初期化式が正しくありません
> int a[1 / 0]
! pos:5  配列指定が誤っています
> int a[2 + 1]
<empty>
> a[2] = 1
1

=== array names follow the rules of all names
> int while[3]
! pos:12  変数名に予約語を使用しています
> int a[3]
<empty>
> int a[3]
! pos:8  この名称は既に使用されています
> int sin[2]
! pos:10  この名称は既に使用されています
> int s = 1, s[2]
! pos:15  この名称は既に使用されています

=== the bracket list of a subscript
> int i = 1
<empty>
> int a[3]
<empty>
> a[2] = 7
7
> a[1+(i)]
7
> a[(i)+1]
! pos:5  ] がありません
> a[1
! pos:3  ] がありません
> a[]
! pos:2  添え字式が誤っています
> a[
! pos:2  添え字式が誤っています
> int b[
! pos:6  添え字式が誤っています
> b
! pos:0  未定義の識別子です

=== only array names take subscripts, and array names need them
> int s
<empty>
> s[0]
! pos:1  構文エラー
> int arr[2]
<empty>
> arr
! pos:0  未定義の識別子です

=== elements with plain subscripts are read while the line is read, and written when it runs
> int w[3] = {1, 2, 3}
<empty>
> w[1] = w[1] + 10
12
> w[0] = w[2] = 7
7
> w[0] + w[2]
14
> w[0] = 5, w[0] + 1
6
> w[3] + 1
! pos:0  誤った配列参照が行われました
> w[1][0]
! pos:0  誤った配列参照が行われました
> (w[1])
12
> w[1]++
! pos:4  被演算子は変数でなければなりません
