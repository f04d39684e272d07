#!/usr/bin/env bash
# Refreshes the translation files from the sources: every text passed through
# the translator in app/, ui/ and document/ gets an entry (new ones arrive
# unfinished: translate them in both files), texts no longer used are dropped.
# No source locations are stored, so the files change only with the texts.
# Contexts whose texts come from data files rather than sources are kept as
# they are, since lupdate cannot see them: the operator catalogues
# ("PPOperators.xml", "HDROperators.xml") and the factory presets' names and
# categories ("PPPreset", "PPPresetCategory").
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate="$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)"
data_contexts=("PPOperators.xml" "HDROperators.xml" "PPPreset" "PPPresetCategory")
files=(data/translations/hdrvorlix_de_DE.ts data/translations/hdrvorlix_en_GB.ts)
dirs=()
for d in app ui document; do [ -d "$d" ] && dirs+=("$d"); done
kept=$(mktemp -d)
trap 'rm -rf "$kept"' EXIT
for f in "${files[@]}"; do
  python3 - "$f" "$kept/$(basename "$f")" "${data_contexts[@]}" <<'PY'
import re, sys
src, out, names = sys.argv[1], sys.argv[2], sys.argv[3:]
text = open(src, encoding="utf-8").read()
blocks = [m.group(0) for m in re.finditer(r"<context>\s*<name>(.*?)</name>.*?</context>\n?", text, re.S)
          if m.group(1) in names]
open(out, "w", encoding="utf-8").write("".join(blocks))
PY
done
"$lupdate" -locations none -no-obsolete "${dirs[@]}" -ts "${files[@]}"
for f in "${files[@]}"; do
  python3 - "$f" "$kept/$(basename "$f")" "${data_contexts[@]}" <<'PY'
import re, sys
dst, keep, names = sys.argv[1], sys.argv[2], sys.argv[3:]
text = open(dst, encoding="utf-8").read()
text = re.sub(r"<context>\s*<name>(.*?)</name>.*?</context>\n?",
              lambda m: "" if m.group(1) in names else m.group(0), text, flags=re.S)
text = text.replace("</TS>", open(keep, encoding="utf-8").read() + "</TS>")
open(dst, "w", encoding="utf-8").write(text)
PY
done
