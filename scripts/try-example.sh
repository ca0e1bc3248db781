#!/usr/bin/env bash
# The worked example: makes a small sample folder, then for each settings file
# in examples/ shows the preview of the renames, carries them out and reverses
# the run from its report, checking that every name is back as it was.
#
#   scripts/try-example.sh [FOLDER]
#
# The sample is made in FOLDER (which must be empty or not exist yet), or in a
# new temporary folder. It is kept, so that the renamed files, the reports and
# the settings pointed at the sample can be looked at and tried again. Reports
# go into its reports/ folder, not into the user's own report folder.
# Needs quillbay-cli built (scripts/build.sh); scripts/run.sh builds it and
# runs this when given no arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUILLBAY_BUILD_DIR:-build}
[[ $build_dir == /* ]] || build_dir=$PWD/$build_dir
cli=$build_dir/app/cli/quillbay-cli
if [[ ! -x $cli ]]; then
  echo "$cli is not built yet: run scripts/build.sh first." >&2
  exit 2
fi

if [[ $# -gt 0 ]]; then
  sample=$1
  if [[ -e $sample && -n $(ls -A "$sample") ]]; then
    echo "$sample is not empty; give a new or empty folder for the sample." >&2
    exit 2
  fi
  mkdir -p "$sample"
  sample=$(cd "$sample" && pwd)
else
  sample=$(mktemp -d "${TMPDIR:-/tmp}/quillbay-example.XXXXXX")
fi
reports=$sample/reports
mkdir -p "$reports"
python3 examples/make_sample.py "$sample"

# Every file and folder below a folder, one relative path a line, sorted.
listing() {
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort)
}

# The listing as the user sees it, with the first line of each text file, so
# that a swap of two names shows.
show_listing() {
  local path
  while IFS= read -r path; do
    if [[ $path == *.txt && -f $1/$path ]]; then
      printf '     %s  ("%s")\n' "${path#./}" "$(head -n 1 "$1/$path")"
    else
      printf '     %s\n' "${path#./}"
    fi
  done < <(listing "$1")
}

# The names below a folder with the content each file holds: it changes when
# two files swap their names, where the listing alone would not.
contents() {
  (cd "$1" && find . -mindepth 1 -type f -exec cksum {} + | LC_ALL=C sort -k 3)
  listing "$1"
}

# The entries of a preview document read from standard input, one a line.
entries() {
  python3 -c '
import sys, xml.etree.ElementTree as tree
root, sample = tree.parse(sys.stdin).getroot(), sys.argv[1]
for entry in root:
    where = entry.get("folder", "")[len(sample) + 1:]
    print("   %-6s %-36s -> %s" % (entry.tag, repr(entry.get("name")), repr(entry.get("newName"))), where)
' "$sample"
}

# Prints a command as the user would type it.
show() {
  local line="" arg
  for arg; do
    [[ $arg == *" "* ]] && arg="'$arg'"
    line+=" $arg"
  done
  line=${line//"$cli"/quillbay-cli}
  printf '$%s\n' "${line//"$sample"/SAMPLE}"
}

echo "Sample folder (SAMPLE below): $sample"
for example in examples/*.xml; do
  name=$(basename "$example" .xml)
  settings=$sample/settings/$name.xml
  folder=$sample/$name
  echo
  echo "== $example, on SAMPLE/$name"
  before=$(contents "$folder")
  echo "   in SAMPLE/$name:"
  show_listing "$folder"

  show "$cli" preview --settings "$settings"
  "$cli" preview --settings "$settings" | entries

  show "$cli" run --settings "$settings" --report-dir "$reports"
  report=$("$cli" run --settings "$settings" --report-dir "$reports")
  echo "   report: ${report/#"$sample"/SAMPLE}"
  echo "   now in SAMPLE/$name:"
  show_listing "$folder"
  if [[ $(contents "$folder") == "$before" ]]; then
    echo "The run changed no name." >&2
    exit 1
  fi

  show "$cli" undo "$report" --report-dir "$reports" --run
  "$cli" undo "$report" --report-dir "$reports" --run >/dev/null
  if [[ $(contents "$folder") != "$before" ]]; then
    echo "The reversal did not bring every name back:" >&2
    diff <(echo "$before") <(contents "$folder") >&2 || true
    exit 1
  fi
  echo "   every name is back as it was"
done

echo
echo "Every example previewed, ran and was reversed. The sample stays in $sample"
echo "(its settings/ hold the examples pointed at it); remove it with: rm -r '$sample'"
