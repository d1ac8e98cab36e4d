;; The console commands, the help listing and the two symbol listings.

=== #h prints the help listing with the current output setting
> #h
@block help
<empty>
現在の出力設定　１０進数

=== #help is the same listing
> #help
@block help
<empty>
現在の出力設定　１０進数

=== commands are recognised on the trimmed, lower-cased line
>   #HELP	
@block help
<empty>
現在の出力設定　１０進数

=== # alone is an unknown command, followed by the help listing
> #
! コマンド '#' が間違っています
@block help
<empty>
現在の出力設定　１０進数

=== an unknown command is echoed lower-cased and trimmed
>   #FOO  
! コマンド '#foo' が間違っています
@block help
<empty>
現在の出力設定　１０進数

=== a command with a word after it is unknown
> #hex x
! コマンド '#hex x' が間違っています
@block help
<empty>
現在の出力設定　１０進数
> #s 1
! コマンド '#s 1' が間違っています
@block help
<empty>
現在の出力設定　１０進数

=== #form is known but unavailable
> #form
! コマンド '#form' は現在使用できません
@block help
<empty>
現在の出力設定　１０進数

=== in silent mode an unknown or unavailable command shows no help
@args /s
@silent
> #foo
! コマンド '#foo' が間違っています
> #form
! コマンド '#form' は現在使用できません

=== #g prints the grammar help
> #g
【識別子】
    文字 _（下線）0-9 a-z A-Z で構成された文字列（先頭は数字以外であること）
【変数宣言】
    < char | byte | short | word | int | dword | long |
      bool | float | double | string > <識別子>[=<式>] [, <識別子>[=<式>]]…
【定数】
    １０進整数値    123 -10 など
    ８進整数値      0123 -010 など（先頭に 0 を付ける）
    １６進整数値    0x0123 -0x10 など（先頭に 0x を付ける）
    ２進整数値      0b0101 -0b0010 など（先頭に 0b を付ける）
    浮動小数点数値  1.23 -0.1e+4 など
    文字            'A' など（整数値扱いとなる）
    文字列          "abc" など
    論理            true false
【演算子】
    算術演算子      * / + -   + -（符号） %（剰余）
    ビット演算子    ~（反転） <<（左シフト） >>（右シフト）
                    &（AND） |（OR） ^（排他的OR）
    関係演算子      < > <= >= == !=
    論理演算子      !（NOT） &&（AND） ||（OR）
    INC,DEC演算子   ++<変数> --<変数>
    二択演算子      <式> ? <式> : <式>
    代入演算子      <変数> = <式>
    区切り演算子    <式> , <式>

=== #g is printed in silent mode too
@args /s
@silent
> #G
【識別子】
    文字 _（下線）0-9 a-z A-Z で構成された文字列（先頭は数字以外であること）
【変数宣言】
    < char | byte | short | word | int | dword | long |
      bool | float | double | string > <識別子>[=<式>] [, <識別子>[=<式>]]…
【定数】
    １０進整数値    123 -10 など
    ８進整数値      0123 -010 など（先頭に 0 を付ける）
    １６進整数値    0x0123 -0x10 など（先頭に 0x を付ける）
    ２進整数値      0b0101 -0b0010 など（先頭に 0b を付ける）
    浮動小数点数値  1.23 -0.1e+4 など
    文字            'A' など（整数値扱いとなる）
    文字列          "abc" など
    論理            true false
【演算子】
    算術演算子      * / + -   + -（符号） %（剰余）
    ビット演算子    ~（反転） <<（左シフト） >>（右シフト）
                    &（AND） |（OR） ^（排他的OR）
    関係演算子      < > <= >= == !=
    論理演算子      !（NOT） &&（AND） ||（OR）
    INC,DEC演算子   ++<変数> --<変数>
    二択演算子      <式> ? <式> : <式>
    代入演算子      <変数> = <式>
    区切り演算子    <式> , <式>

=== #s1 switches silent mode on, #s0 off, #s toggles
> #s1
@prompt off
> #h
@block help
<empty>
現在の出力設定　サイレント
> #s0
@prompt on
> #S
@prompt off
> #s
@prompt on
> #S1
@prompt off
> #S0
@prompt on

=== the status line follows the radix commands
> #oct
> #h
@block help
<empty>
現在の出力設定　８進数
> #hex
> #h
@block help
<empty>
現在の出力設定　１６進数
> #bin
> #h
@block help
<empty>
現在の出力設定　２進数
> #dec
> #h
@block help
<empty>
現在の出力設定　１０進数

=== #dec while silent changes the radix; the status shows silent until it ends
> #hex
> #s1
@prompt off
> #dec
> #h
@block help
<empty>
現在の出力設定　サイレント
> #s0
@prompt on
> #h
@block help
<empty>
現在の出力設定　１０進数

=== results follow the output radix
> #hex
> 255
0x000000ff
> #oct
> 255
000000000377
> #bin
> 5
0b00000000000000000000000000000101
> #dec
> 255
255

=== the radix applies to integers only
> #hex
> 2.5
2.5
> true
true
> 1$3
1$3

=== #lv with no declarations prints nothing
> #lv

=== #lv lists variables in declaration order in the current radix
> int a = 10
<empty>
> double d = 0.5, e
<empty>
> #lv
a=10
d=0.5
e=0
> #hex
> #lv
a=0x0000000a
d=0.5
e=0

=== #lv shows arrays by name only
> int m[2][3]
<empty>
> char c = 'A'
<empty>
> #lv
m[]
c=65

=== #lv shows a string variable whole, however long
@args /s
@silent
> string s = "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy"
> #lv
s="yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy"

=== #lv is printed in silent mode
@args /s
@silent
> int a = 1
> #lv
a=1

=== #x ends the run
> #x
@prompt off

=== #EXIT ends the run; nothing after it is read
> #EXIT
@prompt off
> #h
