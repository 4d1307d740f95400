#!/usr/bin/env bash
# Regenerates the sample documents of the import tests from small Markdown texts with pandoc.
# Run from any folder: ./make-samples.sh (needs pandoc; the outputs are committed).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/three.md" <<'MD'
First paragraph.

Second paragraph.

Third paragraph.
MD

# Tabs and line breaks need raw markup: Markdown turns tabs into spaces.
cat > "$work/features.md" <<'MD'
Before`<w:r><w:tab/></w:r>`{=openxml}`<text:tab/>`{=opendocument}`{\tab}`{=rtf}after tab.

Line one\
line two.

**Bold words** and *italic words* and [underlined words]{.underline}.

Caf&eacute; na&iuml;ve &mdash; &euro;5 &#x4E2D;&#x6587;.

  Name    Value
  ------- -------
  alpha   one
  beta    two

- first item
- second item

Last line.
MD

# Long enough for antiword, which refuses documents with very little text.
for i in $(seq 1 12); do
  printf 'Paragraph %s of the long sample, with enough words to make a real text stream.\n\n' "$i"
done > "$work/long.md"

for name in three features; do
  pandoc -f markdown -o "$name.docx" "$work/$name.md"
  pandoc -f markdown -o "$name.odt" "$work/$name.md"
  pandoc -f markdown -s -o "$name.rtf" "$work/$name.md"
done

# Old binary Word files need LibreOffice (libreoffice-writer-nogui); skipped when it is missing.
if command -v soffice > /dev/null; then
  for name in three long; do
    pandoc -f markdown -o "$work/$name.docx" "$work/$name.md"
    soffice --headless --convert-to doc --outdir "$work" "$work/$name.docx" > /dev/null
    cp "$work/$name.doc" "$name.doc"
  done
fi
