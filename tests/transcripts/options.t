;; The command-line words added to the design's: --help, --version and the
;; prompt switch /p. The design's words are in frontend.t.

=== --help prints every word in English on standard output and reads no input
@args --help
@silent
> 1 + 1
Usage: numora [OPTION]... [FILE]...
       numora [OPTION]... -- FILE...
An interactive calculator for a small typed subset of C. Each line is a
console command (#help lists them) or a declaration, a function definition
or an expression, whose value is printed. The lines of the FILEs, when
given, are run in order instead of standard input, without prompts.
<empty>
  /? -?          print the usage text (in Japanese) and exit
  /s /s0 /s1     silent mode (no prompt, no results): toggle, off, on
  /e /e0 /e1     coloured output at a terminal: toggle, off, on
  /p /p0 /p1     the "> " prompt: toggle, off, on
  --             the words after it are FILEs, even those beginning with "/"
  --help         print this help and exit
  --version      print the version and exit
<empty>
Options begin with "/" or "-" (-s1 is /s1); a word beginning with "/"
that holds a second "/" is a FILE, as an absolute path is. A FILE whose
first line begins with "#!" can run as a program. At the prompt, #help
lists the console commands and #g the grammar. Messages are in Japanese,
with their meaning in English at a terminal, where a line that shows a
habit from C or another calculator also gets a hint of a line to type
instead, and a line that changes a value without a message (a decimal
literal above 2147483647, a value narrowed where it is stored, a signed
result that wrapped around) gets a note.
<empty>
Exit status: 0, or the last integer result at #exit; 1 when a line of the
FILEs failed; 2 when a FILE or standard input cannot be read.
See numora(1).

=== --version prints the name and the version
@args --version
@silent
numora 0.1.0

=== --help and --version act alone: other words, even invalid ones, are not looked at
@args /x --version /? --help missing.num
@silent
numora 0.1.0

=== after -- a word is a file name, not --help
@args -- --help
@silent
! numora: cannot read --help: No such file or directory
@status 2

=== /p0 turns the prompt off; results and diagnostics stay
@args /p0
@silent
> 1+2
3
> 1 / 0
! pos:2  ０で除算しました

=== -p0 then -p toggles the prompt back on
@args -p0 -p
> 1+2
3

=== /p1 after /p0 turns it on again, /p toggles it off
@args /p0 /p1
> 1
1

=== /p alone toggles the prompt off
@args /p
@silent
> 2
2

=== silent mode hides the prompt even when /p1 asks for it
@args /s /p1
@silent
> 2
> #lv

=== a glued or upper-case prompt word is invalid like any other
@args /p2 /P
@silent
! オプション /p2 は無効です
! オプション /P は無効です
式計算コマンド
書式：numora [/h][/s][/s0][/s1]
  /?          使用方法
  /s /s0 /s1  サイレントモード切り替え
~   /e /e0 /e1  エスケープシーケンス使用切り替え
