;; The user's own include file, $XDG_CONFIG_HOME/numora/numora.inc (default
;; ~/.config/numora/numora.inc), read after the one beside the program. The
;; runner points XDG_CONFIG_HOME to "config" in the case's directory.

=== the user's file adds to the program's, which it can use
@include
int base = 40
@end
@file config/numora/numora.inc
int answer = base + 2
int twice(int n) n * 2
@end
> answer
42
> #lv
base=40
answer=42
> 1 / 0
! pos:2  ０で除算しました

=== the user's file alone, without one beside the program
@file config/numora/numora.inc
double tau = 6.283185
@end
> tau / 2
3.14159

=== its failing lines show nothing, like the program's
@file config/numora/numora.inc
int a =
x +
#lv
int b = 2
@end
> #lv
b=2

=== without XDG_CONFIG_HOME the file is under HOME's .config
@env XDG_CONFIG_HOME=
@env HOME=home
@file home/.config/numora/numora.inc
int fromHome = 1
@end
> fromHome
1

=== a relative XDG_CONFIG_HOME is ignored, as the base directory rules say
@env XDG_CONFIG_HOME=config
@env HOME=home
@file config/numora/numora.inc
int fromConfig = 1
@end
@file home/.config/numora/numora.inc
int fromHome = 2
@end
> #lv
fromHome=2
