;; The command line, the usage text, the prompt loop and the exit status.

=== /? prints the usage text and reads no input
@args /?
@silent
> #h
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== -? is the same as /?
@args -?
@silent
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== an invalid option is reported, then the usage text follows
@args /x
@silent
> #h
! オプション /x は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== /h is listed in the usage line but is no option
@args /h
@silent
! オプション /h は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== options compare exactly: upper case and glued words are invalid
@args /S -s2 --s
@silent
! オプション /S は無効です
! オプション -s2 は無効です
! オプション --s は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== every invalid option among valid ones is reported, and nothing runs
@args /s /q /e -z
@silent
> #h
! オプション /q は無効です
! オプション -z は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== /e with output redirected leaves the usage text plain
@args /e /?
@silent
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え

=== /e with output redirected leaves prompts and listings plain
@args /e1
> #g x
! コマンド '#g x' が間違っています
@block help
<empty>
現在の出力設定　１０進数

=== end of input right after the prompt ends the run with status 0
;; The one prompt, with no line end after it.

=== a line of blanks only prints nothing
>    
> 	 
>

=== /s suppresses the prompt
@args /s
@silent
> #bogus
! コマンド '#bogus' が間違っています

=== /s given twice leaves silent mode off
@args /s /s
>

=== /s1 then /s leaves silent mode off
@args /s1 /s
>

=== /s then /s1 leaves silent mode on
@args /s /s1
@silent
>

=== /s0 and the dash forms
@args -s1 -s0
>

=== a program line goes to the parser as typed, upper case kept
> int Abc = 4
<empty>
> Abc * 2 + 1
9

=== a declaration prints an empty result line
> int a = 3
<empty>
> a + 1
4

=== #exit returns the last integer result
> 10
10
> #exit
@prompt off
@status 10

=== #x after a negative result exits with its low byte
> -1
-1
> #x
@prompt off
@status 255

=== #exit after a failed line returns 0
> 10
10
> 1 / 0
! pos:2  ０で除算しました
> #exit
@prompt off
@status 0

=== #exit after a floating, string or bool result returns 0
> 10
10
> 2.5
2.5
> 10
10
> true
true
> 10
10
> "s"
"s"
> 10
10
> 1$2
1$2
> #exit
@prompt off

=== #exit before any program line returns 0
> #exit
@prompt off

=== end of input after a result returns 0, not the result
> 10
10

=== the value model's error text is printed and the run goes on
> int x = 0 ? 1 : "a"
! *kestrak error : ival(1864)
> 1 + 1
2

=== a line of 127 characters is accepted, and so is a longer one
@stdin-python b"1" + b" " * 126 + b"\n" + b"2" + b" " * 5000 + b"\n"
@stdout-python b"> 1\n> 2\n"

=== a megabyte line is read whole and the run goes on
@args /s
@silent
@stdin-python b"#" + b"a" * 1000000 + b"\n#bogus\n"
@stderr-python "コマンド '#".encode() + b"a" * 1000000 + "' が間違っています\n".encode() + "コマンド '#bogus' が間違っています\n".encode()

=== a long result text is printed whole
@stdin-python b'"' + b"x" * 300 + b'"\n'
@stdout-python b'> "' + b"x" * 300 + b'"\n'

=== silent mode prints no results, only diagnostics
@args /s
@silent
> int a = 3
> a + 1
> a / 0
! pos:2  ０で除算しました

=== a carriage return before the line feed is white space for commands
@escapes
@stdin #hex\r\n255\r\n#exit\r\n
@stdout-python b"> > 0x000000ff\n> "
@prompt off
@status 255

=== a missing final line end still reads the last line
@args /s
@silent
@stdin #bogus
! コマンド '#bogus' が間違っています

=== NUL bytes are ordinary bytes of the line
@args /s
@silent
@escapes
@stdin #h\0\n
! コマンド '#h\0' が間違っています

=== bytes of any value pass through unchanged
@args /s
@silent
@escapes
@stdin #\xff\xfe\x80\n
! コマンド '#\xff\xfe\x80' が間違っています

=== the include file's declarations take effect and print nothing
@include
int inc = 5
1 / 0
garbage (
@end
> inc * 2
10

=== include lines may end in CRLF
@escapes
@include
int crlf = 7\r
@end
> crlf
7

=== a UTF-8 byte-order mark before the include file's first line is skipped
@escapes
@include
\xef\xbb\xbfint bom = 8
@end
> bom
8

=== a built-in reading standard input takes the next line, in order
@escapes
> string s
<empty>
> gets(s)
@stdin hello\n
"hello"
> s
"hello"
