;; References: a name in an expression reaches its variable's value object;
;; a reference variable shares the value object of the variable it names.

=== reading a variable gives its value in its own type
> int x = 3
<empty>
> x
3
> double d = 2
<empty>
> d / 4
0.5
> x / 4
0

=== two names sharing one value object see each other's writes
> int x = 1
<empty>
> int &r = x
<empty>
> x = 4
4
> r
4
> r = 6
6
> x
6
> #lv
x=6
r=6

=== a blank after the ampersand changes nothing
> int y = 2
<empty>
> int & q = y
<empty>
> q = 5
5
> y
5

=== a reference to a reference shares the same object
> int x = 1, &r = x, &rr = r
<empty>
> rr = 9
9
> x
9
> r
9

=== increments through a reference change the shared object
> int n = 1
<empty>
> int &rn = n
<empty>
> rn++
1
> n
2
> ++n
3
> rn
3

=== a reference binds only to a variable of its own type, long being int
> char c = 1
<empty>
> int &rc = c
! pos:11  参照の初期化が誤っています
> string s = "ab"
<empty>
> int &rs = s
! pos:11  参照の初期化が誤っています
> rs
! pos:0  未定義の識別子です
> long L = 3
<empty>
> int &p = L
<empty>
> p = 300
300
> L
300

=== a reference needs one plain variable name as its initializer
> int x = 1
<empty>
> int a[2]
<empty>
> int &r
! pos:6  参照は初期化が必要です
> int &r = 5
! pos:10  参照の初期化が誤っています
> int &r = x + 1
! pos:14  参照の初期化が誤っています
> int &r = (x)
! pos:12  参照の初期化が誤っています
> int &r = a[0]
! pos:13  参照の初期化が誤っています
> int &r = r
! pos:9  未定義の識別子です
> r
! pos:0  未定義の識別子です

=== a reference whose target never came into existence has no entity
> int a = 1 / 0, b
<empty>
> int &rb = b
<empty>
> rb
! pos:0  *実体の無い変数が参照されました
