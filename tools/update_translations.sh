#!/usr/bin/env bash
# Refreshes the translation files from the sources: every text passed through
# the translator in app/, ui/ and document/ gets an entry (new ones arrive
# unfinished: translate them in both files), texts no longer used are dropped.
# No source locations are stored, so the files change only with the texts.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate="$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)"
dirs=()
for d in app ui document; do [ -d "$d" ] && dirs+=("$d"); done
"$lupdate" -locations none -no-obsolete "${dirs[@]}" -ts data/translations/hdrvorlix_de_DE.ts data/translations/hdrvorlix_en_GB.ts
