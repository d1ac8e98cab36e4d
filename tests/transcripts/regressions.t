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
