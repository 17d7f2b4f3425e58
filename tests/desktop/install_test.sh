#!/usr/bin/env bash
# The installed program as the desktop finds it: every file in a staging prefix, the file
# type description well formed, and the thumbnailer run as a file manager runs it.
set -u
build="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

stage="$work/stage"
cmake --install "$build" --prefix "$stage" >/dev/null
for f in bin/tamsel bin/tamsel-cli share/applications/tamsel.desktop \
  share/mime/packages/tamsel.xml share/thumbnailers/tamsel.thumbnailer \
  share/icons/hicolor/scalable/apps/tamsel.svg share/icons/hicolor/48x48/apps/tamsel.png \
  share/icons/hicolor/256x256/apps/tamsel.png share/man/man1/tamsel-cli.1 share/doc/tamsel/LICENSE; do
  check "installed $f" test -s "$stage/$f"
done
check "the file types are well-formed XML" xmllint --noout "$stage/share/mime/packages/tamsel.xml"
check "the icon is well-formed SVG" xmllint --noout "$stage/share/icons/hicolor/scalable/apps/tamsel.svg"
check "the desktop entry is valid" desktop-file-validate "$stage/share/applications/tamsel.desktop"
check "the man page names every command" bash -c "grep -q 'tamsel-cli check' '$stage/share/man/man1/tamsel-cli.1'"

# The thumbnailer's Exec line with %i %o %s as the desktop fills them in, for a project and
# an OPT file, with no display; it writes its picture and nothing else.
exec_line=$(sed -n 's/^Exec=//p' "$stage/share/thumbnailers/tamsel.thumbnailer")
cli="$stage/bin/tamsel-cli"
"$cli" sample "$work/fighter" >/dev/null
"$cli" create-opt "$work/fighter" --seed 3 -o "$work/fighter.opt" >/dev/null 2>&1
touch "$work/fighter/.fighter.opz.tamsel-999999-ABCDEF"  # a dead writer's temporary stays
before=$(cd "$work/fighter" && ls -lA --time-style=+%s.%N . && md5sum ./* ./.[!.]*)
png_size() {  # width and height from a PNG's header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'
}
for source in "$work/fighter/fighter.opz" "$work/fighter.opt"; do
  out="$work/thumb-$(basename "$source").png"
  command=${exec_line//%i/$source}
  command=${command//%o/$out}
  command=${command//%s/128}
  check "the thumbnailer draws $(basename "$source") without a display" \
    env -u DISPLAY -u WAYLAND_DISPLAY PATH="$stage/bin:$PATH" bash -c "$command >/dev/null 2>&1"
  check "its picture is 128 x 128" test "$(png_size "$out")" = "128x128"
done
after=$(cd "$work/fighter" && ls -lA --time-style=+%s.%N . && md5sum ./* ./.[!.]*)
check "the thumbnailer changed nothing in the project folder" test "$before" = "$after"

# The file types as the desktop tells them, from a scratch data home holding only ours: by
# name, and an OPT file without its extension by its leading bytes.
data="$work/data"
mkdir -p "$data/mime/packages"
cp "$stage/share/mime/packages/tamsel.xml" "$data/mime/packages/"
update-mime-database "$data/mime" >/dev/null 2>&1
cp "$work/fighter.opt" "$work/craft-without-extension"
query() { XDG_DATA_HOME="$data" XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$1" 2>/dev/null; }
check "a project is application/x-tamsel-project" test "$(query "$work/fighter/fighter.opz")" = "application/x-tamsel-project"
check "an OPT file is model/x-tamsel-opt" test "$(query "$work/fighter.opt")" = "model/x-tamsel-opt"
check "an OPT file is known by its first bytes" test "$(query "$work/craft-without-extension")" = "model/x-tamsel-opt"

summary desktop
