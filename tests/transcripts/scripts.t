;; Script files named on the command line: run in order instead of standard
;; input, without prompts.

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
<empty>
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
<empty>
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
<empty>
! first.num:2: pos:5  この名称は既に使用されています
! second.num:1: pos:0  未定義の識別子です
! second.num:2: pos:2  演算子に対応する被演算子がありません
