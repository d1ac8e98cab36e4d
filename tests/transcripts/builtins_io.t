;; Standard input and output built-ins and system. They share standard
;; input and output with the prompt, so their text keeps its place.

=== puts and putchar write to standard output and return the C library's result
> puts("abc")
abc
4
> putchar(65)
~ A
65
> putchar(321)
~ A
65

=== gets reads the next line of standard input into its output argument
@escapes
> string s
<empty>
> gets(s)
@stdin hello world\n
"hello world"
> s
"hello world"

=== gets keeps at most 255 bytes and drops the rest of the line
> string s
<empty>
> strlen(gets(s))
@stdin-python b"x" * 300 + b"\n"
255
> s == "xxx"
false

=== gets at the end of input returns the empty string
> string s = "keep"
<empty>
> gets(s)
""

=== getchar reads one byte and leaves the rest of the line
> getchar()
@stdin Q
81
>

=== getchar at the end of input returns -1
> getchar()
-1

=== system runs a shell command and returns its exit status
> system("exit 3")
3
> system("echo from the shell")
from the shell
0
> system("kill -9 $$")
137
> system("")
0

=== results, diagnostics and a command's output keep their order in one stream
@merged
> 1 + 1
2
> 1 / 0
! pos:2  ０で除算しました
> puts("before the shell")
before the shell
17
> system("echo from the shell; echo and its errors >&2")
from the shell
and its errors
0
> strlen(5)
! pos:7  引数の型が合っていません
