#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# make package-check: installs the .deb that `make package` built into a
# clean Debian root and checks it as a user would meet it.
#
#   package-check.sh [PACKAGE_BUILD_DIR]
#
# The clean root is a minimal Debian 12 made by debootstrap (kept as a
# tarball in the package build folder, so that later runs only unpack it)
# in which apt installs the package with its dependencies, when this machine
# allows it (root, debootstrap, the configured Debian mirror reachable).
# Otherwise, or with BREVAN_NO_CHROOT=1, the package is unpacked with
# dpkg-deb -x into a scratch folder and its programs run from there on this
# machine's libraries. Then, either way:
#   lintian on the .deb, with no error;
#   desktop-file-validate and appstreamcli validate on the installed files;
#   the icons, a manual page for every command, the guide, the helper;
#   Qt's Italian translations and the fonts, installed with the package
#   even without recommended packages, and what fontconfig makes of them;
#   no installed program holding the source or build folder's path;
#   every command's --help and --version, quiet on standard error;
#   brevan without a display, answering in Italian;
#   a saved appraisal, written by the program's own code, opened by the
#   installed brevan-export, with its summary, record and PDF/A report.
set -euo pipefail

pkgdir=$(realpath "${1:-build-package}")
deb=$(ls -t "$pkgdir"/brevan_*.deb 2>/dev/null | head -1 || true)
[ -n "$deb" ] || { echo "package-check: nessun pacchetto in $pkgdir (make package)" >&2; exit 2; }
work="$pkgdir/check"
root="$work/root"
failures=0

say() { printf '== %s\n' "$*"; }
ok() { printf '   ok: %s\n' "$*"; }
bad() { printf '   ERRORE: %s\n' "$*" >&2; failures=$((failures + 1)); }

cleanup() {
  if mountpoint -q "$root/proc" 2>/dev/null; then umount "$root/proc" || true; fi
}
trap cleanup EXIT
cleanup
rm -rf "$work"
mkdir -p "$work"

say "pacchetto: $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends | sed 's/^/   /'

# ---------------------------------------------------------------- lintian
say "lintian"
if lintian --fail-on error --tag-display-limit 0 "$deb" > "$work/lintian.txt" 2>&1; then
  ok "nessun errore ($(grep -c '^W:' "$work/lintian.txt" || true) avvisi)"
else
  bad "lintian ha trovato errori"
fi
sed 's/^/   /' "$work/lintian.txt"

# ---------------------------------------------------------------- clean root
mode=extract
mirror=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  mirror=$(sed -n 's/^URIs:[[:space:]]*//p' "$f" | head -1)
  [ -n "$mirror" ] && break
done
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)

if [ "$(id -u)" -eq 0 ] && [ -z "${BREVAN_NO_CHROOT:-}" ] && command -v debootstrap >/dev/null && [ -n "$mirror" ]; then
  say "radice pulita: debootstrap bookworm (minbase)"
  tarball="$pkgdir/bookworm-minbase.tgz"
  if [ ! -f "$tarball" ]; then
    debootstrap --variant=minbase --make-tarball="$tarball" bookworm "$work/tarball" "$mirror" \
      > "$work/debootstrap.log" 2>&1 || rm -f "$tarball"
    rm -rf "$work/tarball"
  fi
  if [ -f "$tarball" ] && debootstrap --variant=minbase --unpack-tarball="$tarball" bookworm "$root" "$mirror" \
       >> "$work/debootstrap.log" 2>&1; then
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    mount -t proc proc "$root/proc" 2>/dev/null || true
    cp "$deb" "$root/tmp/brevan.deb"
    if chroot "$root" apt-get update -qq > "$work/apt.log" 2>&1 \
       && chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            /tmp/brevan.deb >> "$work/apt.log" 2>&1; then
      mode=chroot
      ok "installato con apt nella radice pulita, con le sue dipendenze"
    else
      echo "   apt non ha potuto installare il pacchetto nella radice pulita:" >&2
      tail -5 "$work/apt.log" | sed 's/^/   /' >&2
    fi
  else
    echo "   debootstrap non è riuscito (vedi $work/debootstrap.log)" >&2
  fi
  if [ "$mode" != chroot ]; then
    cleanup
    rm -rf "$root"
    bad "installazione nella radice pulita non riuscita"
  fi
fi
if [ "$mode" = extract ]; then
  say "radice pulita non disponibile qui: dpkg-deb -x in una cartella di prova"
  mkdir -p "$root"
  dpkg-deb -x "$deb" "$root"
  # The dependencies must be satisfiable on this machine for the programs to run.
  if apt-get install --simulate "$deb" > "$work/simulate.log" 2>&1; then
    ok "le dipendenze del pacchetto sono soddisfatte"
  else
    bad "dipendenze non soddisfatte: $(tail -3 "$work/simulate.log" | tr '\n' ' ')"
  fi
fi

# ---------------------------------------------------------------- translations and fonts
# Without them the standard dialogs speak English and the menus come out in
# a monospaced font, so they are dependencies, not recommendations: the
# clean root above was installed without recommended packages.
say "traduzioni di Qt e caratteri"
needed=(qt6-translations-l10n fonts-liberation2 fonts-dejavu-core)
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
for p in "${needed[@]}"; do
  grep -qx "$p" <<< "$depends" || bad "$p non è tra le dipendenze (Depends)"
done
if [ "$mode" = chroot ]; then
  for p in "${needed[@]}"; do
    if chroot "$root" dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      ok "$p installato senza i pacchetti raccomandati"
    else
      bad "$p non installato con il pacchetto"
    fi
  done
  qm=/usr/share/qt6/translations/qtbase_it.qm
  [ -s "$root$qm" ] && ok "$qm: le finestre standard di Qt in italiano" || bad "manca $qm"
  # What fontconfig gives inside the root, with its own fonts and settings:
  # Qt asks for "Sans Serif" for menus and dialogs, the program for Arial.
  cp "$(command -v fc-match)" "$root/tmp/fc-match"
  sans=$(chroot "$root" /tmp/fc-match -f '%{family[0]}|%{spacing}' 'Sans Serif' 2>/dev/null || true)
  arial=$(chroot "$root" /tmp/fc-match -f '%{family[0]}' Arial 2>/dev/null || true)
  rm -f "$root/tmp/fc-match"
  if [ -n "${sans%%|*}" ] && [ "${sans#*|}" != 100 ] && [[ "${sans%%|*}" != *Mono* ]]; then
    ok "carattere dei menu: ${sans%%|*}"
  else
    bad "carattere dei menu: '${sans%%|*}' (spaziatura '${sans#*|}'), non un carattere proporzionale"
  fi
  [ "$arial" = "Liberation Sans" ] && ok "Arial: $arial" || bad "Arial diventa '$arial', non Liberation Sans"
fi

# run PROGRAM ARGS...: a program of the installed tree, in a bare session
# (no display, no XDG_RUNTIME_DIR), its output in $work/out and $work/err.
run() {
  local program=$1
  shift
  mkdir -p "$root/tmp/home"
  set +e
  if [ "$mode" = chroot ]; then
    chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp/home LANG=C.UTF-8 "$program" "$@" > "$work/out" 2> "$work/err"
  else
    env -i PATH=/usr/bin:/bin HOME="$root/tmp/home" LANG=C.UTF-8 \
      LD_LIBRARY_PATH="$root/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)" \
      "$root$program" "$@" > "$work/out" 2> "$work/err"
  fi
  status=$?
  set -e
}
# A path inside the installed tree, as the programs there see it.
inside() { if [ "$mode" = chroot ]; then echo "$1"; else echo "$root$1"; fi; }

# ---------------------------------------------------------------- files
say "file installati"
usr="$root/usr"
if desktop-file-validate "$usr/share/applications/it.brevan.Brevan.desktop"; then
  ok "desktop-file-validate"
else
  bad "desktop-file-validate"
fi
if appstreamcli validate --no-net "$usr/share/metainfo/it.brevan.Brevan.metainfo.xml" > "$work/appstream.txt" 2>&1; then
  ok "appstreamcli validate"
else
  bad "appstreamcli validate: $(cat "$work/appstream.txt")"
fi
for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/it.brevan.Brevan.png"
  if [ "$(file -b "$icon" 2>/dev/null | grep -o "${size} x ${size}")" = "${size} x ${size}" ]; then :; else bad "icona $size px"; fi
done
[ -f "$usr/share/icons/hicolor/scalable/apps/it.brevan.Brevan.svg" ] && ok "icone 16-256 px e SVG" || bad "icona SVG"
[ -x "$usr/libexec/brevan/brevan-metafile" ] && ok "brevan-metafile in libexec/brevan" || bad "brevan-metafile"
for doc in copyright changelog.gz guida.md guida.html; do
  [ -f "$usr/share/doc/brevan/$doc" ] || bad "manca /usr/share/doc/brevan/$doc"
done
# The package's own commands, not the rest of the root's /usr/bin.
commands=()
for name in $(dpkg-deb -c "$deb" | awk '$6 ~ /^\.\/usr\/bin\/./ { sub(".*/", "", $6); print $6 }'); do
  commands+=("$name")
  if man -l "$usr/share/man/man1/$name.1.gz" > /dev/null 2>&1 || zcat "$usr/share/man/man1/$name.1.gz" > /dev/null 2>&1; then :; else
    bad "manca la pagina di manuale di $name"
  fi
done
ok "comandi: ${commands[*]}"

# No installed program keeps the folders it was built in: the picture pages
# look for their helper only beside the program and in libexec/brevan.
source_dir=$(realpath "$(dirname "$0")/..")
before=$failures
for program in "$usr"/bin/* "$usr"/libexec/brevan/*; do
  [ -f "$program" ] || continue
  for folder in "$pkgdir" "$source_dir"; do
    if strings -a "$program" | grep -qF "$folder" || strings -a -el "$program" | grep -qF "$folder"; then
      bad "${program#"$root"} contiene il percorso $folder"
    fi
  done
done
[ "$failures" -eq "$before" ] && ok "nessun programma contiene la cartella dei sorgenti o della compilazione"

# ---------------------------------------------------------------- commands
say "--help e --version"
for name in "${commands[@]}" ../libexec/brevan/brevan-metafile; do
  run "/usr/bin/$name" --version
  if [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && [ "$(wc -l < "$work/out")" -eq 1 ]; then
    ok "$(cat "$work/out")"
  else
    bad "$name --version: stato $status, $(cat "$work/err")"
  fi
  run "/usr/bin/$name" --help
  if [ "$status" -ne 0 ] || [ -s "$work/err" ] || ! grep -q '^Stato di uscita:' "$work/out"; then
    bad "$name --help: stato $status, $(cat "$work/err")"
  fi
done

say "brevan senza schermo"
run /usr/bin/brevan
if [ "$status" -eq 1 ] && grep -q "desktop grafico" "$work/err" && ! grep -qi "plugin" "$work/err"; then
  ok "$(head -1 "$work/err")"
else
  bad "brevan senza schermo: stato $status, $(cat "$work/err")"
fi

say "una stima salvata, aperta da brevan-export"
sample_dir="$root/tmp/stima"
stima=$("$pkgdir/tools/sampleappraisal" "$sample_dir")
stima_inside=$(inside "/tmp/stima/$(basename "$stima")")
pdf_inside=$(inside /tmp/stima/report.pdf)
run /usr/bin/brevan-export "$stima_inside" --json
if [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && grep -q '"CognomeProfess": "Rossi"' "$work/out"; then
  ok "--json: $(grep -c '": ' "$work/out") righe, stderr vuoto"
else
  bad "--json: stato $status, $(cat "$work/err")"
fi
run /usr/bin/brevan-export "$stima_inside" --text --pdf "$pdf_inside"
if [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && grep -q 'Risultati della stima.' "$work/out"; then
  ok "--text: $(grep -A3 'Stima per capitalizzazione' "$work/out" | tr -s '\t' ' ' | tr '\n' ' ')"
else
  bad "--text/--pdf: stato $status, $(cat "$work/err")"
fi
pdf="$sample_dir/report.pdf"
if [ -f "$pdf" ]; then
  info=$(pdfinfo "$pdf")
  echo "$info" | grep -E '^(Title|Author|Pages|PDF version|File size):' | sed 's/^/   /'
  echo "$info" | grep -q '^Author: *Mario Rossi$' || bad "il PDF non ha l'autore"
  pdfinfo -meta "$pdf" | grep -q '<pdfaid:part>1</pdfaid:part>' || bad "il PDF non dichiara PDF/A-1"
  if pdffonts "$pdf" | tail -n +3 | awk '{ if ($(NF-4) != "yes") bad = 1 } END { exit bad }'; then
    ok "ogni carattere è incorporato"
  else
    bad "caratteri non incorporati"
  fi
else
  bad "il report PDF non è stato scritto"
fi

if [ "$failures" -eq 0 ]; then
  say "package-check: tutto a posto ($mode)"
else
  say "package-check: $failures errori ($mode)"
  exit 1
fi
