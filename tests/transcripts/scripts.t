;; Script files named on the command line: run in order instead of standard
;; input, without prompts. An empty result (a declaration) prints no line.

=== the files run in order, sharing their variables, and standard input is not read
@args first.num second.num
@silent
@file first.num
int a = 4
a * 2
@end
@file second.num
a + 1
@end
> 100
8
5

=== #exit in a file ends the run with the last result; nothing after it runs
@args first.num second.num
@silent
@file first.num
7 * 6
#exit
1
@end
@file second.num
2
@end
42
@status 42

=== diagnostics and commands work as at the prompt; a last line without a line end is read
@args calc.num
@silent
@escapes
@file calc.num
#hex\n255\n1 / 0\n#bogus\n#s1\n3\n#lv\nint z = 1\n#lv
@end
0x000000ff
! calc.num:3: pos:2  ０で除算しました
! calc.num:4: コマンド '#bogus' が間違っています
@block help
<empty>
現在の出力設定　１６進数
z=0x00000001
@status 1

=== standard input stays for gets and getchar
@args calc.num
@silent
@escapes
@file calc.num
string s
gets(s)
getchar()
@end
@stdin from the pipe\nx
"from the pipe"
120

=== /p1 shows the prompt while a file runs
@args /p1 calc.num
@file calc.num
1
@end
~ > 
1
;; The runner expects the last prompt, at the end of the file.

=== a file that cannot be opened is named, nothing runs, and the status is 2
@args first.num missing.num
@silent
@file first.num
1
@end
! numora: cannot read missing.num: No such file or directory
@status 2

=== a file that cannot be read is named when its turn comes, and the status is 2
@args first.num .
@silent
@file first.num
1
@end
1
! numora: cannot read .: Is a directory
@status 2

=== after -- every word is a file: one that begins with "-", an absolute path
@args -- -first.num /dev/null
@silent
@file -first.num
3 * 3
@end
9

=== an absolute path that cannot be opened is named
@args /s -- /nonexistent/calc.num
@silent
! numora: cannot read /nonexistent/calc.num: No such file or directory
@status 2

=== without --, a word that begins with "/" and holds no second "/" stays an option word
@args /calc.num
@silent
! オプション /calc.num は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== an absolute path holds a second "/" and so names a file without --
@args {dir}/calc.num /p0
@silent
@file calc.num
6 * 7
@end
42

=== a first line beginning with #! is passed over, and still counts as line 1
@args /s calc.num other.num
@silent
@file calc.num
#!/usr/bin/env numora
1 / 0
2 + 2
@end
@file other.num
#!/usr/bin/numora
5
#!/not/a/first/line
@end
! calc.num:2: pos:2  ０で除算しました
! other.num:3: コマンド '#!/not/a/first/line' が間違っています
@status 1

=== a diagnostic names the file and the line, in each file of the run
@args first.num second.num
@silent
@file first.num
int a = 1
int a = 2
@end
@file second.num
zz
a +
@end
! first.num:2: pos:5  この名称は既に使用されています
! second.num:1: pos:0  未定義の識別子です
! second.num:2: pos:2  演算子に対応する被演算子がありません
@status 1

=== a script whose lines all succeed ends with status 0, with no line for declarations or void calls
@args calc.num
@silent
@file calc.num
int a = 2, b[3]
double d = 1.5
srand(7)
int f(int x) x * 2
a * d
@end
3

=== a value error fails the script
@args calc.num
@silent
@file calc.num
int x = 0 ? 1 : "a"
2 + 2
@end
! calc.num:1: *kestrak error : ival(1864)
4
@status 1

=== a refused command fails the script
@args first.num
@silent
@file first.num
#s1
#bogus
1
@end
! first.num:2: コマンド '#bogus' が間違っています
@status 1

=== #form without its number fails the script, as the design's unavailable command
@args calc.num
@silent
@file calc.num
#s1
#form
#form 17
@end
! calc.num:2: コマンド '#form' は現在使用できません
@status 1

=== a failure in an earlier file fails the run of several files
@args first.num second.num
@silent
@file first.num
1 / 0
@end
@file second.num
int a = 1
a + 1
@end
! first.num:1: pos:2  ０で除算しました
2
@status 1

=== #exit gives the status even after a failed line: the last result
@args calc.num
@silent
@file calc.num
1 / 0
6 * 7
#exit
@end
! calc.num:1: pos:2  ０で除算しました
42
@status 42

=== #exit right after a failed line gives 0, as at the prompt
@args calc.num
@silent
@file calc.num
6 * 7
1 / 0
#exit
@end
42
! calc.num:2: pos:2  ０で除算しました

=== piped standard input keeps the design's status and empty lines after a failed line
@args /p0
@silent
> int a = 1
<empty>
> 1 / 0
! pos:2  ０で除算しました
> #bogus
! コマンド '#bogus' が間違っています
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
