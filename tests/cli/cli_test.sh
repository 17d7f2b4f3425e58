#!/usr/bin/env bash
# End to end through tamsel-cli: sample -> create-opt -> import-opt -> info, merge, errors.
set -u
cli="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

check "sample" "$cli" sample "$work/craft" --meshes 3 --faces 40 --textures 4 --size 16
check "sample wrote the project file" test -f "$work/craft/craft.opz"
check "sample without sizes makes the fighter" sh -c "'$cli' sample '$work/fighter' | grep -q ': 7 meshes'"
check "create-opt" "$cli" create-opt "$work/craft" --seed 7
check "create-opt wrote craft.opt" test -f "$work/craft/craft.opt"
check "import-opt into a new project" "$cli" import-opt "$work/craft/craft.opt" "$work/imported"
check "the import saved its project" test -f "$work/imported/imported.opz"
check "the import wrote the bitmaps" test -f "$work/imported/craft_TEX00000.BMP"

json=$("$cli" info "$work/imported/imported.opz" --json)
check "info --json lists three meshes" test "$(grep -o '"lods"' <<<"$json" | wc -l)" -eq 3
check "info --json names the imported bitmap" grep -q '"name":"craft_TEX00000.BMP","width":16,"height":16' <<<"$json"
check "info of the OPT file" bash -c "'$cli' info '$work/craft/craft.opt' | grep -q '^3 meshes, 4 textures'"

"$cli" create-opt "$work/imported" --seed 7 -o "$work/second.opt" >/dev/null
"$cli" import-opt "$work/second.opt" "$work/again" >/dev/null
"$cli" create-opt "$work/again" --seed 7 -o "$work/third.opt" >/dev/null
check "second and third OPT files are identical" cmp -s "$work/second.opt" "$work/third.opt"

check "merge-opz" "$cli" merge-opz "$work/craft/craft.opz" "$work/imported"
check "the merge doubled the meshes" bash -c "'$cli' info '$work/imported/imported.opz' | grep -q '^6 meshes'"
check "the merge copied the sample bitmaps" test -f "$work/imported/sample_TEX0.BMP"

head -c 100 "$work/craft/craft.opt" > "$work/broken.opt"
"$cli" import-opt "$work/broken.opt" "$work/imported" 2>"$work/err"; status=$?
check "a broken file exits 1" test "$status" -eq 1
check "the message names the file and the byte" grep -q "broken.opt, byte" "$work/err"
check "the project is unchanged after the failure" bash -c "'$cli' info '$work/imported/imported.opz' | grep -q '^6 meshes'"
"$cli" import-opt "$work/broken.opt" "$work/never" 2>/dev/null
check "a failed import into a new folder leaves no folder" test ! -e "$work/never"

# A link in the merged project's folder is not copied; a link in the target is not written
# through; both are named.
echo "outside" > "$work/outside.bmp"
mkdir -p "$work/linked"
"$cli" sample "$work/linked" --meshes 1 --faces 4 --textures 1 --size 8 >/dev/null
ln -s "$work/outside.bmp" "$work/linked/pulled.bmp"
ln -sf "$work/outside.bmp" "$work/imported/sample_TEX0.BMP"
"$cli" merge-opz "$work/linked/linked.opz" "$work/imported" 2>"$work/err" >/dev/null
check "merge skips a linked bitmap" test ! -e "$work/imported/pulled.bmp"
check "merge writes through no link" grep -qx outside "$work/outside.bmp"
check "merge names what it skipped" grep -q "skipped .*pulled.bmp" "$work/err"

# Names with control characters and bytes that are not UTF-8 still give JSON a parser takes.
cp "$work/craft/craft.opt" "$work/$(printf 'od\001d\377')".opt
"$cli" import-opt "$work/$(printf 'od\001d\377')".opt "$work/odd" >/dev/null
check "an odd OPT file name gives a project that opens" "$cli" info "$work/odd/odd.opz"
if command -v python3 >/dev/null; then
  check "info --json is valid JSON" bash -c "'$cli' info '$work/odd/odd.opz' --json | python3 -c 'import json,sys; json.load(sys.stdin)'"
fi
check "no temporary files are left" test -z "$(find "$work" -name '.*.tamsel-*')"

# No import costs a file: a folder named like the third bitmap blocks the whole import,
# and a different file named like the first stays, byte for byte, with nothing added.
"$cli" sample "$work/safe" >/dev/null
"$cli" create-opt "$work/safe" --seed 3 >/dev/null
mapfile -t names < <("$cli" info "$work/safe/safe.opt" | sed -n 's/^texture \([^:]*\):.*/\1/p')
echo "the user's own" > "$work/safe/${names[0]}"
mkdir "$work/safe/${names[2]}"
snapshot() { (cd "$1" && find . -type f -exec md5sum {} + | sort; find . -type d | sort); }
before=$(snapshot "$work/safe")
"$cli" import-opt "$work/safe/safe.opt" "$work/safe" 2>"$work/err" >/dev/null; status=$?
check "a blocked import exits 1" test "$status" -eq 1
check "the message names what blocked it" grep -q "${names[2]}: is in the way" "$work/err"
check "the blocked import left the folder byte for byte" test "$before" = "$(snapshot "$work/safe")"
rmdir "$work/safe/${names[2]}"
"$cli" import-opt "$work/safe/safe.opt" "$work/safe" 2>"$work/err" >/dev/null
check "a taken name keeps the user's file" grep -qx "the user's own" "$work/safe/${names[0]}"
check "and the import says which name it took" grep -q "the imported file is ${names[0]%.*}_2" "$work/err"

# One writer at a time: a held lock (on the folder itself) refuses the import, which changes
# nothing.
if command -v flock >/dev/null; then
  before=$(snapshot "$work/safe")
  flock "$work/safe" "$cli" import-opt "$work/safe/safe.opt" "$work/safe" 2>"$work/err" >/dev/null
  check "a held project refuses a second writer" grep -q "is being changed by" "$work/err"
  check "the refused writer changed nothing" test "$before" = "$(snapshot "$work/safe")"
fi

# The lock does not depend on who owns the note that names its holder: a note left behind
# by another user (root here) neither lets a second writer in nor keeps the next one out.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && command -v flock >/dev/null; then
  as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  shared="$work/shared"
  mkdir -p "$shared"
  cp "$work/craft/craft.opt" "$work/shared.opt"
  chmod 755 "$work"
  chmod 777 "$shared"
  chmod 644 "$work/shared.opt"
  echo "tamsel-cli import-opt (process 99999)" > "$shared/.tamsel-lock"
  chmod 644 "$shared/.tamsel-lock"
  as_nobody flock "$shared" sleep 2 &
  holder=$!
  sleep 0.5
  as_nobody "$cli" import-opt "$work/shared.opt" "$shared" 2>"$work/err" >/dev/null; status=$?
  check "another user's live writer refuses this one" bash -c "[ $status -eq 1 ] && grep -q 'is being changed by another Tamsel process' '$work/err'"
  check "and nothing was written" test ! -e "$shared/shared.opz"
  wait $holder
  as_nobody "$cli" import-opt "$work/shared.opt" "$shared" >/dev/null 2>&1; status=$?
  check "a note another user left behind does not keep the next writer out" test $status -eq 0
  check "that writer's project is there" test -f "$shared/shared.opz"
fi

# A file that is replaced keeps its mode; a read-only one is not replaced.
"$cli" sample "$work/modes" --meshes 2 --faces 20 --textures 2 --size 16 >/dev/null
chmod 600 "$work/modes/modes.opz"
"$cli" import-opt "$work/craft/craft.opt" "$work/modes" >/dev/null 2>&1
check "a private project file stays private after an import" test "$(stat -c %a "$work/modes/modes.opz")" = 600
"$cli" create-opt "$work/modes" -o "$work/modes.opt" >/dev/null 2>&1
chmod 640 "$work/modes.opt"
"$cli" create-opt "$work/modes" -o "$work/modes.opt" >/dev/null 2>&1
check "an OPT file written again keeps its mode" test "$(stat -c %a "$work/modes.opt")" = 640
"$cli" merge-opz "$work/craft/craft.opz" "$work/modes" >/dev/null 2>&1
check "and after a merge" test "$(stat -c %a "$work/modes/modes.opz")" = 600
"$cli" export "$work/craft/craft.opz" "$work/modes.glb" >/dev/null 2>&1
chmod 604 "$work/modes.glb"
"$cli" export "$work/craft/craft.opz" "$work/modes.glb" >/dev/null 2>&1
check "an export written again keeps its mode" test "$(stat -c %a "$work/modes.glb")" = 604
"$cli" import-model "$work/modes.glb" "$work/modes" >/dev/null 2>&1
check "and an import-model its project file's" test "$(stat -c %a "$work/modes/modes.opz")" = 600
chmod 444 "$work/modes/modes.opz"
before=$(snapshot "$work/modes")
"$cli" import-opt "$work/craft/craft.opt" "$work/modes" 2>"$work/err" >/dev/null; status=$?
check "a read-only project file is not replaced, and the command says so" bash -c "[ $status -eq 1 ] && grep -q 'is read-only' '$work/err'"
check "the folder is as it was" test "$before" = "$(snapshot "$work/modes")"
chmod 644 "$work/modes/modes.opz"

# A link to a project folder under another name reaches the same project file.
ln -s "$work/modes" "$work/alias"
"$cli" import-opt "$work/craft/craft.opt" "$work/alias" >/dev/null 2>&1
check "an import through a link writes the folder's own project file" bash -c "[ ! -e '$work/modes/alias.opz' ] && '$cli' info '$work/modes/modes.opz' | grep -q '^14 meshes'"

# Export names every file it writes, and those it replaces.
"$cli" export "$work/craft/craft.opz" "$work/named.gltf" 2>"$work/err" >/dev/null
check "export names the files it writes" bash -c "grep -q 'note: wrote .*named.bin' '$work/err' && ! grep -q 'replaced' '$work/err'"
"$cli" export "$work/craft/craft.opz" "$work/named.gltf" 2>"$work/err" >/dev/null
check "and those it replaces" grep -q "note: replaced .*named.bin" "$work/err"

# import-model brings bitmaps by the imports' rules: the same model twice takes the same
# files; a user's different file keeps its name, and the import says which it took; a FIFO
# with a bitmap's name stops the import before anything is written.
"$cli" export "$work/craft/craft.opz" "$work/model.glb" >/dev/null 2>&1
"$cli" import-model "$work/model.glb" "$work/mi" >/dev/null 2>&1
"$cli" import-model "$work/model.glb" "$work/mi" >/dev/null 2>&1
check "the same model again reuses its bitmaps" test "$(ls "$work/mi" | grep -c BMP)" -eq 4
mkdir -p "$work/mj"
echo "the user's own" > "$work/mj/sample_TEX0.BMP"
"$cli" import-model "$work/model.glb" "$work/mj" 2>"$work/err" >/dev/null
check "a user's file of a bitmap's name stays" grep -qx "the user's own" "$work/mj/sample_TEX0.BMP"
check "and the import says which name it took" grep -q "note: sample_TEX0.BMP: .*sample_TEX0_2.BMP" "$work/err"
mkdir -p "$work/mk"
mkfifo "$work/mk/sample_TEX1.BMP"
before=$(ls -A "$work/mk")
"$cli" import-model "$work/model.glb" "$work/mk" 2>"$work/err" >/dev/null; status=$?
check "a FIFO with a bitmap's name stops the import" bash -c "[ $status -eq 1 ] && grep -q 'is in the way' '$work/err'"
check "and nothing was written" test "$before" = "$(ls -A "$work/mk")"

# merge-opz tells of every bitmap it leaves out: a link, and a FIFO alike.
mkdir -p "$work/withfifo"
cp "$work/craft/craft.opz" "$work/withfifo/withfifo.opz"
mkfifo "$work/withfifo/pipe.BMP"
"$cli" merge-opz "$work/withfifo/withfifo.opz" "$work/modes" 2>"$work/err" >/dev/null
check "merge-opz names a FIFO it skips" grep -q "skipped .*pipe.BMP: not a regular file" "$work/err"

# A sample being made holds its new folder from the start: an import into it meanwhile is
# refused, or finds the sample's project, never writes beside it.
rm -rf "$work/race"
"$cli" sample "$work/race" --meshes 40 --faces 2000 --textures 16 >/dev/null 2>&1 &
sampler=$!
sleep 0.05
"$cli" import-opt "$work/craft/craft.opt" "$work/race" >/dev/null 2>&1; imported=$?
wait $sampler; sampled=$?
check "a sample and an import into one new folder are never both let in" test $((sampled + imported)) -ge 1
if [ $imported -eq 0 ] && [ $sampled -ne 0 ]; then
  check "the import's project stands alone" bash -c "'$cli' info '$work/race/race.opz' | grep -q '^3 meshes'"
fi

# The import library runs in a worker that ends with its command and at the time limit.
printf 'ply\nformat ascii \004!.0\nelemeply' > "$work/hang.ply"
"$cli" import-model "$work/hang.ply" "$work/hung" --time-limit 2 2>"$work/err" >/dev/null; status=$?
check "a file that hangs the library is ended at the time limit" bash -c "[ $status -eq 1 ] && grep -q 'did not finish .*hang.ply within 2 s' '$work/err'"
check "and leaves no folder" test ! -e "$work/hung"
"$cli" import-model "$work/model.glb" "$work/greedy" --memory-limit 16 2>"$work/err" >/dev/null; status=$?
check "an import past the memory limit is ended and says so" bash -c "[ $status -eq 1 ] && grep -q 'model.glb needs more than 16 MB' '$work/err'"
check "and leaves no folder either" test ! -e "$work/greedy"
"$cli" import-model "$work/hang.ply" "$work/killed" --time-limit 60 >/dev/null 2>&1 &
parent=$!
sleep 0.5
worker=$(pgrep -P $parent | head -1)
kill -9 $parent
wait $parent 2>/dev/null
sleep 0.3
# Ended, or a zombie left for an init that does not reap: either way it runs no more.
state=$([ -n "$worker" ] && ps -o stat= -p "$worker" | tr -d ' ')
check "killing import-model ends its worker" bash -c "[ -n '$worker' ] && { [ -z '$state' ] || [[ '$state' == Z* ]]; }"
check "and nothing was committed" test ! -e "$work/killed/killed.opz"

# What a killed create-opt -o left behind goes at its next run; a live writer's stays.
(sleep 30 & echo $! > "$work/live.pid"; wait) &
sleep 0.2
touch "$work/.out.opt.tamsel-999999-AAAAAA" "$work/.out.opt.tamsel-$(cat "$work/live.pid")-BBBBBB"
"$cli" create-opt "$work/safe" -o "$work/out.opt" >/dev/null
check "a dead writer's temporary is removed" test ! -e "$work/.out.opt.tamsel-999999-AAAAAA"
check "a live writer's temporary stays" test -e "$work/.out.opt.tamsel-$(cat "$work/live.pid")-BBBBBB"
touch "$work/.out.glb.tamsel-999999-CCCCCC"
"$cli" export "$work/safe/safe.opz" "$work/out.glb" >/dev/null
check "export removes what a killed export left" test ! -e "$work/.out.glb.tamsel-999999-CCCCCC"
check "and leaves a live writer's temporary" test -e "$work/.out.opt.tamsel-$(cat "$work/live.pid")-BBBBBB"
kill "$(cat "$work/live.pid")" 2>/dev/null
rm -f "$work"/.out.opt.tamsel-*

# The import library runs in a child process: a node chain 20 000 deep that overflows its
# stack is reported, and leaves neither a project nor a scratch folder behind.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
awk 'BEGIN { n = 20000
  printf "{\"asset\":{\"version\":\"2.0\"},\"buffers\":[{\"byteLength\":36,\"uri\":\"data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA\"}],"
  printf "\"bufferViews\":[{\"buffer\":0,\"byteLength\":36}],\"accessors\":[{\"bufferView\":0,\"componentType\":5126,\"count\":3,\"type\":\"VEC3\",\"min\":[0,0,0],\"max\":[1,1,0]}],"
  printf "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0}}]}],\"nodes\":["
  for (i = 0; i < n - 1; i++) printf "{\"children\":[%d]},", i + 1
  printf "{\"mesh\":0}],\"scenes\":[{\"nodes\":[0]}],\"scene\":0}\n" }' > "$work/deep.gltf"
"$cli" import-model "$work/deep.gltf" "$work/deep" >/dev/null 2>"$work/err"; status=$?
if [ "$status" -ne 0 ]; then
  check "a crash of the import library is named" grep -aq "the import library failed on $work/deep.gltf" "$work/err"
  check "and leaves no project folder" test ! -e "$work/deep"
else
  check "a deep node chain that the library survives comes in" test -f "$work/deep/deep.opz"
fi
check "no scratch folder is left" test -z "$(ls -A "$TMPDIR")"
printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n' > "$work/tri.obj"
check "import-model into a new project" "$cli" import-model "$work/tri.obj" "$work/model"
check "the model's project holds its mesh" bash -c "'$cli' info '$work/model/model.opz' | grep -q '^1 meshes'"
check "no scratch folder is left after success" test -z "$(ls -A "$TMPDIR")"
unset TMPDIR

# The craft check: the fighter is clean; 51 meshes are past the original game's 50 only.
check "check: the fighter is clean" bash -c "'$cli' check '$work/fighter/fighter.opz' | grep -q '^0 errors, 0 warnings, 0 notes'"
"$cli" sample "$work/many" --meshes 51 --faces 2 --textures 1 >/dev/null
"$cli" check "$work/many/many.opz" >"$work/out"; status=$?
check "check: errors exit 1 and name the code" bash -c "[ $status -eq 1 ] && grep -q '^error: mesh-count: The craft has 51 meshes' '$work/out'"
check "check: the patched profile loads them" "$cli" check "$work/many/many.opz" --profile patched
expected='{"profile":"original","errors":1,"warnings":0,"notes":0,"findings":[{"severity":"error","code":"mesh-count","element":{"kind":"mesh","mesh":50},"text":"The craft has 51 meshes; the original game loads 50, so mesh 51 \"Section 50\" and those after it are not loaded."}]}'
check "check --json is exactly as documented" test "$("$cli" check "$work/many/many.opz" --json)" = "$expected"
"$cli" check "$work/nothing.opt" 2>/dev/null; status=$?
check "check: an unreadable file exits 2" test $status -eq 2
"$cli" check "$work/many/many.opz" --profile newest 2>/dev/null; status=$?
check "check: a wrong profile exits 2" test $status -eq 2
"$cli" create-opt "$work/many" -o "$work/many.opt" 2>"$work/err" >/dev/null; status=$?
check "create-opt warns and writes" bash -c "[ $status -eq 0 ] && grep -q '^error: mesh-count' '$work/err' && [ -s '$work/many.opt' ]"
"$cli" create-opt "$work/many" -o "$work/strict.opt" --strict 2>/dev/null >/dev/null; status=$?
check "create-opt --strict fails with errors, the file written" bash -c "[ $status -eq 1 ] && [ -s '$work/strict.opt' ]"
check "create-opt --strict passes a clean craft" "$cli" create-opt "$work/fighter" --strict -o "$work/f.opt"

# Pictures: a project and an OPT file, with no display at all; wrong options change nothing.
if "$cli" --help | grep -q "tamsel-cli render"; then
  check "render a project" env -u DISPLAY -u WAYLAND_DISPLAY "$cli" render "$work/fighter/fighter.opz" "$work/f.png" --size 64x48
  check "the picture is a PNG" bash -c "head -c 8 '$work/f.png' | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a'"
  check "render an OPT file in wire, from the top" "$cli" render "$work/craft/craft.opt" "$work/o.png" --view top --wire --level low
  check "render with the grid, the axes and the gradient" "$cli" render "$work/fighter/fighter.opz" "$work/g.png" --size 64x48 --grid --axes --gradient
  check "the decorations change the picture" bash -c "! cmp -s '$work/f.png' '$work/g.png'"
  "$cli" render "$work/fighter/fighter.opz" "$work/bad.png" --view sideways 2>"$work/err"; status=$?
  check "a wrong view exits 2 and names the choices" bash -c "[ $status -eq 2 ] && grep -q '3d, top, front, right, bottom, back or left' '$work/err'"
  "$cli" render "$work/fighter/fighter.opz" "$work/bad.png" --size 0x10 2>/dev/null
  check "a wrong size writes nothing" test ! -e "$work/bad.png"
fi

# Ready for the game: a low level made, normals smoothed, a whole mod checked.
"$cli" sample "$work/lod" --meshes 2 --faces 400 --textures 2 >/dev/null
check "lod" bash -c "'$cli' lod '$work/lod' --ratio 0.25 | grep -q '^low levels for 2 meshes: [0-9]* -> [0-9]* faces'"
check "lod wrote the low levels" bash -c "'$cli' info '$work/lod/lod.opz' | grep -c '  level 2:' | grep -qx 2"
"$cli" lod "$work/lod" --ratio 2 2>/dev/null; check "a ratio above 1 exits 2" test $? -eq 2
"$cli" lod "$work/lod" --mesh 3 2>"$work/err"; status=$?
check "a mesh past the last exits 2 and says how many there are" bash -c "[ $status -eq 2 ] && grep -q 'the project has 2 meshes' '$work/err'"
check "smooth" bash -c "'$cli' smooth '$work/lod' --angle 30 | grep -q '^vertex normals by angle (30 degrees) for '"
"$cli" smooth "$work/lod" 2>/dev/null; check "smooth without an angle exits 2" test $? -eq 2
"$cli" sample "$work/pack" --meshes 2 --faces 20 --textures 12 --size 32 >/dev/null
check "pack-textures" bash -c "'$cli' pack-textures '$work/pack' | grep -q '^packed [1-9][0-9]* textures into [1-9] atlases of 256 texels: 12 -> '"
check "the atlas is a bitmap in the folder" test -f "$work/pack/ATLAS_1.BMP"
check "the old bitmaps stay beside it" test -f "$work/pack/sample_TEX0.BMP"
check "the packed project checks clean" "$cli" check "$work/pack/pack.opz"
mkdir -p "$work/mod/ships" && cp -r "$work/craft" "$work/mod/ships/" && cp -r "$work/lod" "$work/mod/"
head -c 60 "$work/craft/craft.opt" > "$work/mod/ships/damaged.opt"
"$cli" check "$work/mod" >"$work/out"; status=$?
check "a folder with a damaged craft exits 1" test $status -eq 1
check "one line per file and a total" bash -c "grep -c ': ' '$work/out' | grep -qx 4 && grep -q '^4 files, 1 with errors or unreadable; ' '$work/out'"
check "the damaged one is named with the reason" grep -q "damaged.opt: cannot be read: .*damaged.opt, byte" "$work/out"
check "the good ones say their counts" grep -q "ships/craft/craft.opz: 0 errors" "$work/out"
check "an OPT file's faces get their boxes before the check" bash -c "! '$cli' check '$work/craft/craft.opt' | grep -q face-box-stale"
check "check DIR --json is an array with paths" bash -c "'$cli' check '$work/mod' --json | grep -q '^\[{\"path\":'"
rm "$work/mod/ships/damaged.opt"
check "a folder of sound craft exits 0" "$cli" check "$work/mod"

"$cli" frobnicate 2>/dev/null; check "an unknown command exits 2" test $? -eq 2
"$cli" sample "$work/x" --faces lots 2>/dev/null; check "a bad number exits 2" test $? -eq 2
# Each command takes its own options only: a mistyped or foreign one is refused, never
# passed over for the default.
"$cli" check "$work/fighter/fighter.opz" --profle patched 2>"$work/err"; status=$?
check "a mistyped option exits 2 and names it" bash -c "[ $status -eq 2 ] && grep -q 'check has no option --profle' '$work/err'"
"$cli" check "$work/fighter/fighter.opz" --strict 2>/dev/null; status=$?
check "another command's flag exits 2" test $status -eq 2
"$cli" check "$work/fighter/fighter.opz" --seed 7 2>/dev/null; status=$?
check "another command's option exits 2" test $status -eq 2
"$cli" info "$work/fighter/fighter.opz" --json --json 2>/dev/null; status=$?
check "an option given twice exits 2" test $status -eq 2

summary cli
