#!/usr/bin/env bash
# Installs a configured build tree into a staging directory and checks the installed tree, builds
# the Debian package and checks its contents and dependencies, and runs the installed program's
# command line without a display.
#   check-install.sh BUILD_DIR VERSION
set -uo pipefail

build="$1"
version="$2"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
need_tool() {
  command -v "$1" >/dev/null || {
    echo "FAIL: $1 is missing (scripts/install-deps.sh installs it)"
    exit 1
  }
}
for tool in desktop-file-validate cpack dpkg-deb dpkg-query objdump ldd groff fc-list; do
  need_tool "$tool"
done

# Files below a root, one per line, sorted, without the root.
tree_files() { (cd "$1" && find . -type f -o -type l | sed 's|^\./|/|' | LC_ALL=C sort); }

# ---- The installed tree -------------------------------------------------------------------
if ! DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

expected="/usr/bin/orvanta
/usr/bin/orvanta-snapshot
/usr/share/applications/orvanta.desktop
/usr/share/icons/hicolor/128x128/apps/orvanta.png
/usr/share/icons/hicolor/16x16/apps/orvanta.png
/usr/share/icons/hicolor/256x256/apps/orvanta.png
/usr/share/icons/hicolor/32x32/apps/orvanta.png
/usr/share/icons/hicolor/48x48/apps/orvanta.png
/usr/share/icons/hicolor/64x64/apps/orvanta.png
/usr/share/icons/hicolor/scalable/apps/orvanta.svg
/usr/share/man/man1/orvanta.1.gz
/usr/share/orvanta/sample.csv"
installed="$(tree_files "$stage")"
if [ "$installed" = "$expected" ]; then
  pass "install puts exactly the programs, menu entry, icons, manual page and sample file"
else
  fail "installed tree differs (- expected, + installed):"
  diff <(echo "$expected") <(echo "$installed") | grep '^[<>]' | sed 's/^</  -/; s/^>/  +/'
fi

for program in orvanta orvanta-snapshot; do
  bin="$stage/usr/bin/$program"
  [ -x "$bin" ] || fail "$program is not executable"
  search_path="$(objdump -p "$bin" | awk '$1 == "RPATH" || $1 == "RUNPATH" {print $2}')"
  if [[ "$search_path" == *"$build"* ]]; then
    fail "$program still looks for libraries in the build tree"
  fi
done

cmp -s "$stage/usr/share/orvanta/sample.csv" "$source_dir/data/sample.csv" ||
  fail "the installed sample file is not data/sample.csv"

desktop="$stage/usr/share/applications/orvanta.desktop"
if out="$(desktop-file-validate "$desktop" 2>&1)" && [ -z "$out" ]; then
  pass "desktop-file-validate accepts the menu entry"
else
  fail "desktop-file-validate: $out"
fi
grep -qx 'Categories=Office;Finance;' "$desktop" || fail "menu entry is not in Office;Finance;"
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$stage/usr/bin/$exec_program" ] || fail "menu entry runs '$exec_program', which is not installed"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
[ -f "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
  fail "menu entry's icon '$icon' is not installed"

# Width and height from a PNG header: big-endian words at bytes 16 and 20.
png_size() {
  local b
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}
for size in 16 32 48 64 128 256; do
  png="$stage/usr/share/icons/hicolor/${size}x${size}/apps/orvanta.png"
  [ -f "$png" ] || continue
  actual="$(png_size "$png")"
  [ "$actual" = "${size}x${size}" ] || fail "icon in ${size}x${size} is $actual"
done

man_gz="$stage/usr/share/man/man1/orvanta.1.gz"
if gzip -t "$man_gz" 2>/dev/null; then
  man_text="$(gzip -dc "$man_gz")"
  warnings="$(echo "$man_text" | LC_ALL=C.UTF-8 groff -man -ww -z -K utf8 -Tutf8 2>&1)"
  [ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES EXAMPLES; do
    grep -qx "\.SH $section" <<<"$man_text" || fail "manual page has no $section section"
  done
  grep -q "^\.TH ORVANTA 1 .*\"Orvanta $version\"" <<<"$man_text" ||
    fail "manual page is not section 1 of Orvanta $version"
else
  fail "manual page is not a gzip file"
fi

# ---- The command line, without a display ------------------------------------------------------
# A toolkit started without a display aborts, so these also prove none is started.
run_bare() {
  env -i PATH=/usr/bin:/bin HOME="$work" ASAN_OPTIONS=detect_leaks=1 \
    "$stage/usr/bin/orvanta" "$@" >"$work/out" 2>"$work/err"
  echo $?
}

status="$(run_bare --help)"
if [ "$status" = 0 ] && grep -q '^Usage: orvanta .*\[FILE\]' <<<"$(head -n1 "$work/out")" && [ ! -s "$work/err" ]; then
  pass "--help prints the usage and exits 0"
else
  fail "--help: status $status, stdout '$(head -n1 "$work/out")', stderr '$(cat "$work/err")'"
fi
# Every option the usage lists is described in the manual page.
for option in $(grep -E '^  -' "$work/out" | sed 's/   .*//' | tr ',' ' '); do
  grep -qF -- "${option//-/\\-}" <<<"${man_text:-}" || fail "manual page does not describe $option"
done

status="$(run_bare --version)"
if [ "$status" = 0 ] && [ "$(cat "$work/out")" = "orvanta $version" ] && [ ! -s "$work/err" ]; then
  pass "--version prints 'orvanta $version' and exits 0"
else
  fail "--version: status $status, stdout '$(cat "$work/out")', stderr '$(cat "$work/err")'"
fi

# Output that cannot be written is not a success.
env -i "$stage/usr/bin/orvanta" --version >/dev/full 2>"$work/err"
status=$?
[ "$status" = 1 ] && [ -s "$work/err" ] || fail "--version into a full disk: status $status"

status="$(run_bare --no-such-option)"
if [ "$status" = 2 ] && [ ! -s "$work/out" ] &&
  grep -qx "orvanta: unknown option '--no-such-option'" "$work/err" &&
  grep -q '^Usage: orvanta .*\[FILE\]' "$work/err"; then
  pass "an unknown option prints the usage on stderr and exits 2"
else
  fail "unknown option: status $status, stdout '$(cat "$work/out")', stderr '$(cat "$work/err")'"
fi

# With a file the program starts its window and stays up until closed.
(cd "$work" && env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  timeout 4 "$stage/usr/bin/orvanta" "$stage/usr/share/orvanta/sample.csv" >"$work/out" 2>"$work/err")
status=$?
if [ "$status" = 124 ] && ! grep -q 'Error opening file' "$work/err"; then
  pass "orvanta FILE starts and keeps running"
else
  fail "orvanta FILE: status $status, stderr '$(head -c 400 "$work/err")'"
fi

# ---- The Debian package -----------------------------------------------------------------------
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
deb="$(ls "$work"/package/*.deb 2>/dev/null | head -n1)"
[ -n "$deb" ] || {
  echo "FAIL: cpack made no .deb"
  exit 1
}
info="$(dpkg-deb -I "$deb")"
grep -qx ' Package: orvanta' <<<"$info" || fail "package is not called orvanta"
grep -qx " Version: $version" <<<"$info" || fail "package version is not $version"
depends_line="$(echo "$info" | sed -n 's/^ Depends: //p')"
echo "Depends: $depends_line"
# Package names of the Depends line, alternatives included, without versions or architectures.
depends="$(echo "$depends_line" | tr ',|' '\n\n' | sed 's/(.*)//; s/:.*//; s/ //g' | grep -v '^$' | sort -u)"

packaged="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | LC_ALL=C sort)"
[ "$packaged" = "$installed" ] || fail "package contents differ from the installed tree"

for name in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 qt6-qpa-plugins \
  fonts-liberation fonts-wqy-microhei; do
  grep -qx "$name" <<<"$depends" || fail "Depends lacks $name"
done
for name in $depends; do
  dpkg-query -W "$name" >/dev/null 2>&1 || fail "Depends names $name, which is not a known package"
done

failures_before="$failures"
# What the packaged programs need from the system, as "what|file" pairs: every library they link
# directly (the listed packages bring what those need in turn), the platform plugin the toolkit
# loads and the fonts the drawing code asks for by name.
dpkg-deb -x "$deb" "$work/root"
needs=()
for bin in "$work"/root/usr/bin/*; do
  for soname in $(objdump -p "$bin" | awk '$1 == "NEEDED" {print $2}'); do
    # "soname => /path (address)", or "/path/soname (address)" for the dynamic loader.
    file="$(ldd "$bin" | awk -v so="$soname" '$1 == so && $3 ~ /^\// {print $3}
      $1 ~ /^\// && substr($1, length($1) - length(so)) == "/" so {print $1}')"
    if [ -n "$file" ]; then
      needs+=("$(basename "$bin") links $soname|$file")
    else
      fail "$(basename "$bin"): $soname is not found on this system"
    fi
  done
done
libraries="${#needs[@]}"
[ "$libraries" -gt 0 ] || fail "found no linked libraries to check"
plugin="$(dpkg-query -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | head -n1 | sed 's/^.*: //')"
if [ -n "$plugin" ]; then
  needs+=("the X11 platform plugin|$plugin")
else
  fail "no X11 platform plugin installed"
fi
for family in "Liberation Sans" "Liberation Serif" "Liberation Mono"; do
  font="$(fc-list "$family" file | head -n1 | sed 's/: *$//')"
  if [ -n "$font" ]; then
    needs+=("font $family|$font")
  else
    fail "font $family is not installed"
  fi
done
mapfile -t cjk_fonts < <(fc-list :lang=zh-cn file | sed 's/: *$//')

# dpkg records a file under /lib or /usr/lib, under its own name or a link's: ask for every
# spelling at once, since each query reads the whole file database.
spellings() {
  local path
  for path in "$1" "$(readlink -f "$1")"; do
    printf '%s\n' "$path" "${path#/usr}" "/usr$path"
  done
}
queries=()
for file in "${needs[@]#*|}" "${cjk_fonts[@]}"; do
  mapfile -t -O "${#queries[@]}" queries < <(spellings "$file")
done
declare -A owner_of
while IFS= read -r line; do
  owner_of["${line##*: }"]="${line%%:*}"
done < <(dpkg-query -S "${queries[@]}" 2>/dev/null | grep -v '^diversion')
owner() {
  local path
  while IFS= read -r path; do
    if [ -n "${owner_of[$path]:-}" ]; then
      echo "${owner_of[$path]}"
      return 0
    fi
  done < <(spellings "$1")
  return 1
}

for need in "${needs[@]}"; do
  what="${need%%|*}"
  file="${need#*|}"
  if ! package="$(owner "$file")"; then
    fail "$what: $file belongs to no package"
  elif ! grep -qx "$package" <<<"$depends"; then
    fail "$what needs $package ($file), which Depends does not list"
  fi
done
cjk_ok=0
for font in "${cjk_fonts[@]}"; do
  package="$(owner "$font")" && grep -qx "$package" <<<"$depends" && cjk_ok=1
done
[ "$cjk_ok" = 1 ] || fail "no font from a listed package has the Chinese texts"
[ "$failures" = "$failures_before" ] &&
  pass "Depends covers the $libraries linked libraries, the platform plugin and the fonts"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all install and package checks passed"
