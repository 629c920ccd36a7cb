#!/bin/sh
# Starts the game from wherever the package put it. The game reads DATA.QPA
# from its working directory, so this launcher changes into the folder that
# holds it first; the tree is found from the launcher's own place (bin/ of
# /usr, or of an unpacked .tar.gz), following a link to it.
root=$(dirname "$(readlink -f "$0")")/..
cd "$root/share/honomikasa" || exit 1
exec "$root/lib/honomikasa/honomikasa" "$@"
