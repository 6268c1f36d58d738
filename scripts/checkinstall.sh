#!/usr/bin/env bash
# Installs into a temporary prefix and checks the installed tree: the launcher and the metainfo
# validate, the file types are known by content, the icons are there, the manual pages are
# compressed and render without a warning, the copyright and the changelog are there, and the
# programs run from the installed path (--version needs no display). Then builds the Debian
# package and has lintian check it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAMSEL_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" --target tamsel tamselctl tamsel-agent desktop_icons dist_files

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
fail() { echo "checkinstall: $*" >&2; exit 1; }
# says PATTERN COMMAND...: whether the command's output holds the pattern. The output is read
# whole before grep: with pipefail, a grep -q that leaves early would fail the writer.
says() { local pattern="$1" output; shift; output="$("$@")" && grep -q "$pattern" <<<"$output"; }

desktop-file-validate "$share/applications/com.corvane.Tamsel.desktop"
appstreamcli validate --no-net "$share/metainfo/com.corvane.Tamsel.metainfo.xml"

for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/com.corvane.Tamsel mimetypes/application-x-tamsel-settings \
              mimetypes/application-x-tamsel-phonebook mimetypes/application-x-tamsel-firmware; do
    [ -s "$share/icons/hicolor/${size}x${size}/$icon.png" ] || fail "icon $icon missing at $size"
  done
done

for page in man1/tamsel.1 man1/tamselctl.1 man8/tamsel-agent.8; do
  manual="$share/man/$page.gz"
  text="$work/$(basename "$page").txt"
  gzip -t "$manual" || fail "$page.gz is not compressed"
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >"$text")"
  [ -z "$warnings" ] || fail "$page.gz: $warnings"
  grep -q "SYNOPSIS" "$text" || fail "$page.gz does not render"
done

# The copyright in the machine-readable format, the package's changelog at the package's version.
doc="$share/doc/tamsel"
says "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" head -n 1 "$doc/copyright" || fail "the copyright is not in the machine-readable format"
version="$(sed -n 's/^project(Tamsel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
says "^tamsel ($version-1) " sh -c 'zcat "$1" | sed -n 1p' - "$doc/changelog.Debian.gz" || fail "changelog.Debian.gz does not begin with version $version-1"

# The record's JSON Schema is a schema of draft 2020-12.
python3 -c 'import json, sys; from jsonschema import Draft202012Validator; Draft202012Validator.check_schema(json.load(open(sys.argv[1])))' \
  "$share/tamsel/record.schema.json" || fail "record.schema.json is no JSON Schema"

# The programs from the installed path; no display for either.
says "^Tamsel" env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/tamsel" --version || fail "tamsel --version"
# Started for real, the console waits at its password prompt: still running after a few seconds.
mkdir -m 700 "$work/runtime" "$work/home"
status=0
HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  timeout 5 "$prefix/bin/tamsel" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "tamsel ended at start-up with status $status"
says "make-firmware" "$prefix/bin/tamselctl" --help || fail "tamselctl --help"
says "^tamselctl" "$prefix/bin/tamselctl" --version || fail "tamselctl --version"
says "^tamsel-agent" "$prefix/bin/tamsel-agent" --version || fail "tamsel-agent --version"
grep -qx "ExecStart=$prefix/bin/tamsel-agent" "$prefix/lib/systemd/system/tamsel-agent.service" \
  || fail "tamsel-agent.service"

# Files known by their first bytes: made by the installed companion, named without extension.
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$share:/usr/share"
update-mime-database "$share/mime"
device="$("$prefix/bin/tamselctl" devices | head -n 1)"
"$prefix/bin/tamselctl" read "$device" "$work/settings.tms"
mv "$work/settings.tms" "$work/settings"
"$prefix/bin/tamselctl" make-firmware "Brevia Pro 45" 2.20 "$work/firmware.bfw"
mv "$work/firmware.bfw" "$work/firmware"
# A phone book's header: its magic and schema 1.
printf 'TPHB\001\000\000\000' >"$work/phonebook"
for pair in settings:application/x-tamsel-settings firmware:application/x-tamsel-firmware \
            phonebook:application/x-tamsel-phonebook; do
  file="${pair%%:*}" type="${pair#*:}"
  found="$(gio info -a standard::content-type "$work/$file" | sed -n 's/^ *standard::content-type: //p')"
  [ "$found" = "$type" ] || fail "$file is $found, not $type"
done
# The Debian package: lintian reports no error.
"$root/scripts/package.sh" >/dev/null
lintian --fail-on error --tag-display-limit 0 "$build/tamsel_$version-1_$(dpkg --print-architecture).deb" \
  || fail "lintian reports errors on the package"
echo "checkinstall: the installed tree and the package are sound"
