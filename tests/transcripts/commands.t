;; The console commands, the help listing and the two symbol listings.

=== #h prints the help listing with the current output setting
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== #help is the same listing
> #help
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== commands are recognised on the trimmed, lower-cased line
>   #HELP	
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== # alone is an unknown command, followed by the help listing
> #
! コマンド '#' が間違っています
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== an unknown command is echoed lower-cased and trimmed
>   #FOO  
! コマンド '#foo' が間違っています
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== a command with a word after it is unknown
> #hex x
! コマンド '#hex x' が間違っています
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数
> #s 1
! コマンド '#s 1' が間違っています
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== #form is known but unavailable
> #form
! コマンド '#form' は現在使用できません
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
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
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
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
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　８進数
> #hex
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１６進数
> #bin
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　２進数
> #dec
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　１０進数

=== #dec while silent changes the radix; the status shows silent until it ends
> #hex
> #s1
@prompt off
> #dec
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
<empty>
現在の出力設定　サイレント
> #s0
@prompt on
> #h
#h #help : コマンド説明
#g : 文法説明
#s #s0 #s1 : サイレントモード切り替え
#dec : 計算結果（整数値）を１０進数で出力
#oct : 計算結果（整数値）を８進数で出力
#hex : 計算結果（整数値）を１６進数で出力
#bin : 計算結果（整数値）を２進数で出力
#lv : 変数一覧
#lf : 組み込み関数一覧
#x #exit : 終了
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

=== #lf lists the sixty built-ins with their descriptions, then user functions with "(null)"
@include
int twice(int n) n * 2
@end
> #lf
string strcat(string&, string)           文字列の連結
int strcmp(string, string)               文字列の比較
string strcpy(string&, string)           文字列のコピー
int strlen(string)                       文字列長取得
string cgets(string&)                    文字列の直接コンソール入力
string gets(string&)                     文字列の入力
int cputs(string)                        文字列の直接コンソール出力
int puts(string)                         文字列の出力
int getch()                              1文字の直接コンソール入力
int getchar()                            1文字の入力
int putch(int)                           1文字の直接コンソール出力
int putchar(int)                         1文字の出力
int access(string, int)                  ファイル属性の判定
int chdir(string)                        カレントディレクトリの変更
int chmod(string, int)                   ファイル属性の変更
int mkdir(string)                        ディレクトリの作成
int rmdir(string)                        ディレクトリの削除
int remove(string)                       ファイルの削除
int rename(string, string)               ファイル名の変更
string getcwd(string&, int)              カレントディレクトリの取得
string getenv(string)                    環境変数の取得
int putenv(string, string)               環境変数の設定
int atoi(string)                         文字列を整数値に変換
long atol(string)                        文字列を32bit長整数値に変換
double atof(string)                      文字列を浮動小数点数値に変換
string itoa(int, string&, int)           整数値を文字列に変換
string ltoa(int, string&, int)           32bit長整数値を文字列に変換
string ultoa(dword, string&, int)        32bit長符号なし整数値を文字列に変換
string gcvt(double, int, string&)        浮動小数点数値を文字列に変換
int abs(int)                             整数の絶対値を返す
double acos(double)                      アーク・コサイン値を返す
double asin(double)                      アーク・サイン値を返す
double atan(double)                      アーク・タンジェント値を返す
double atan2(double, double)             y/xのアーク・タンジェント値を返す
double ceil(double)                      小数点以下の切り上げ
double cos(double)                       コサイン値を返す
double cosh(double)                      双曲線余弦値を返す
double exp(double)                       指数eのx乗値を返す
double fabs(double)                      浮動小数点数の絶対値を返す
double floor(double)                     小数点以下の切り捨て
double fmod(double, double)              xをyで割った余りを返す
double frexp(double, int&)               浮動小数点数の仮数部と少数部への分割
double hypot(double, double)             直角三角形の斜辺長を返す
long labs(long)                          32bit長整数値の絶対値を返す
double ldexp(double, int)                x×2のn乗を返す
double log(double)                       自然対数値を返す
double log10(double)                     常用対数値を返す
double max(double, double)               大きい方の値を返す
double min(double, double)               小さい方の値を返す
double modf(double, double&)             浮動小数点数の少数部と整数部への分割
double pow(double, double)               xのy乗値を返す
double sin(double)                       サイン値を返す
double sinh(double)                      双曲線正弦値を返す
double sqrt(double)                      平方根値を返す
double tan(double)                       タンジェント値を返す
double tanh(double)                      双曲線正接値を返す
int rand()                               乱数の生成
void srand(dword)                        乱数の開始点設定
int system(string)                       コマンドの実行
int printf(string, ...)                  書式付き出力
int twice(int)                           (null)

=== #x ends the run
> #x
@prompt off

=== #EXIT ends the run; nothing after it is read
> #EXIT
@prompt off
> #h
