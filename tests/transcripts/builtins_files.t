;; File system and environment built-ins. Every case runs in a fresh
;; directory of its own.

=== directories are made, entered, left and removed
> mkdir("d")
0
> mkdir("d")
-1
> access("d", 0)
0
> chdir("d")
0
> chdir("..")
0
> rmdir("d")
0
> rmdir("d")
-1
> chdir("missing")
-1

=== access returns the error number when the access is not allowed
> access("missing", 0)
2
> access("missing", 4)
2
> access("", 0)
2

=== files are renamed, changed and removed
> system("echo x > f")
0
> rename("f", "g")
0
> access("f", 0)
2
> access("g", 6)
0
> chmod("g", 420)
0
> chmod("missing", 420)
-1
> remove("g")
0
> remove("g")
-1
> rename("missing", "h")
-1

=== getcwd writes the current directory to its output
> string s
<empty>
> strcmp(getcwd(s, 4096), s)
0
> strlen(s) > 1
true
> mkdir("sub")
0
> chdir("sub")
0
> string t
<empty>
> strlen(getcwd(t, 4096)) == strlen(s) + 4
true
;; A huge size allocates nothing of that size.
> strcmp(getcwd(t, 2000000000), t)
0

=== getcwd fails on a size too small and refuses sizes of 0 or less
> string s = "keep"
<empty>
> getcwd(s, 1)
! pos:0  関数の実行に失敗しました
> getcwd(s, 0)
! pos:0  関数の実行で例外が発生しました
> getcwd(s, -5)
! pos:0  関数の実行で例外が発生しました
> s
"keep"
L getcwd : error(Numerical result out of range)
L _invalid_parameter
L _invalid_parameter

=== getenv reads the environment; an unset name gives the empty string
@env NUMORA_GREETING=hello
> getenv("NUMORA_GREETING")
"hello"
> getenv("NUMORA_SURELY_UNSET")
""
> getenv("")
""

=== putenv sets a variable for this process and the commands it runs
> putenv("NUMORA_X", "42")
0
> getenv("NUMORA_X")
"42"
> system("exit $NUMORA_X")
42
> putenv("", "x")
22
> putenv("A=B", "x")
22
