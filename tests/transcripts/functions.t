;; User-defined functions and calls: definitions are parsed, checked, kept
;; and listed; calls are checked against the parameter list; a call of a user
;; function is refused when it runs.

=== a definition is kept; calling it is refused at run time
> int twice(int a) a * 2
<empty>
> twice(3)
! pos:0  ユーザ定義関数式は現在使用できません
> 1 + twice(3)
! pos:4  ユーザ定義関数式は現在使用できません
> int twice
! pos:9  この名称は既に使用されています

=== the listing shows every built-in, then the user functions without description, those of the include file first
@include
int twice(int n) n * 2
@end
> void hello() 0
<empty>
> long f() 1
<empty>
> int g(string s, ...) 0
<empty>
> int h(int a, int b) a + b
<empty>
> int r(int &x) x
<empty>
> double d(char c1, byte b1, short s1, word w1, dword u1, float f1, bool t1) c1 + t1
<empty>
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
void hello()                             (null)
int f()                                  (null)
int g(string, ...)                       (null)
int h(int, int)                          (null)
int r(int&)                              (null)
double d(char, byte, short, word, dword, float, bool) (null)

=== parameters are visible in the body only
> int p(int k) k + 1
<empty>
> k
! pos:0  未定義の識別子です

=== a variadic parameter accepts one or more arguments, and none
> int g(string s, ...) 0
<empty>
> g("a")
! pos:0  ユーザ定義関数式は現在使用できません
> g("a", 1, 2.5, "b")
! pos:0  ユーザ定義関数式は現在使用できません
> g()
! pos:2  引数は省略できません
> g(1)
! pos:2  引数の型が合っていません

=== a by-reference parameter needs no initializer and takes only a variable
> int r(int &x) x
<empty>
> int v = 1
<empty>
> r(v)
! pos:0  ユーザ定義関数式は現在使用できません
> r(3)
! pos:2  引数は変数でなければなりません
> r(v + 1)
! pos:2  引数は変数でなければなりません

=== each parameter needs its own type word
> int f(int a, b) a
! pos:13  パラメータには型指定子が必要です
> f
! pos:0  未定義の識別子です

=== array parameters are refused
> int f(int a[3]) 0
! pos:10  現在は配列の引数は使用できません

=== the variadic parameter must come last
> int f(..., int a) a
! pos:9  可変長パラメータは最後でなければなりません

=== a missing parenthesis or body
> int f(int a
! pos:11  ) がありません
> int f(int a)
! pos:12  式が必要です
> int f(int a) { a }
! pos:13  式が必要です

=== a body runs to the end of the line, commas included
> int f(int a) a, a + 1
<empty>
> f(1)
! pos:0  ユーザ定義関数式は現在使用できません

=== a built-in's name cannot be defined again
> int sin(double x) x
! pos:7  この名称は既に使用されています

=== call syntax errors
;; A fault found at the end of the line is reported once: no tree is built
;; around the call, so the expression's check does not find it again.
> sin
! pos:3  関数の引数がありません
> sin(1
! pos:5  ) がありません
> sin()
! pos:4  引数は省略できません
> sin(1,)
! pos:6  引数は省略できません
> sin(1,2)
! pos:6  関数の引数の数が合っていません
> rand(1)
! pos:5  関数の引数の数が合っていません
> strlen(5)
! pos:7  引数の型が合っていません
> sqrt("x")
! pos:5  引数の型が合っていません
> strlen(5) + 1
! pos:7  引数の型が合っていません

=== an argument without a value suits no parameter
;; A call of a void function gives nothing to pass. It is refused where it
;; stands, when the call is read, so it comes before the faults after it.
> sqrt(srand(1))
! pos:5  引数の型が合っていません
> itoa(srand(1), 5, 10)
! pos:5  引数の型が合っていません
> sqrt(srand(1)) + zz
! pos:5  引数の型が合っていません
> string s = "a"
<empty>
> strcpy(s, srand(2))
! pos:10  引数の型が合っていません

=== an array element is no variable for an output parameter
> string a[2]
<empty>
> string s = "x"
<empty>
> strcat(a[0], s)
! pos:7  引数は変数でなければなりません

=== a variable in parentheses is still a variable
> string s = "ab"
<empty>
> strcpy((s), "cd")
"cd"
> s
"cd"

=== calls nest and take expressions as arguments
> sqrt(abs(-16))
4
> max(1 + 1, 3) * 2
6
> strlen("ab" + "cde")
5

=== printf takes only its format
> printf("hi\n")
hi
3
