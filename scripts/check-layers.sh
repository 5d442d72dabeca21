#!/usr/bin/env bash
# check-layers.sh [SOURCE_ROOT]: checks every #include of the folders named in
# the layer table of README.md's Layout section against that table, and names
# the file, line and edge of each include that breaks it. The table is the
# only statement of the layers, so the rule and its documentation cannot
# drift apart.
#
# A row with a number is a layer: its folders (or single headers) include
# their own headers and those of lower layers only. A row with "–" is a
# library outside the layers, which includes its own headers and exactly the
# entries its last cell names. A header belongs to the longest entry that
# contains it, so `platform/sdl/` is a module apart from `platform/`. Folders
# the table does not name (tests, tools) are not checked, and nothing in the
# table may include them.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
[ -f "$root/README.md" ] || { echo "check-layers: no README.md in $root" >&2; exit 2; }
cd "$root"
export LC_ALL=C

exec awk '
function table_error(msg) { print "README.md: " msg; broken = 1 }
function shown(e) { return (e in is_dir) ? e "/" : e }
function entry_of(path,    e, best) {
    best = ""
    for (e in layer)
        if ((path == e || index(path, e "/") == 1) && length(e) > length(best)) best = e
    return best
}
function is_folder(top) {
    if (!(top in folder_exists)) folder_exists[top] = system("test -d \"" top "\"") == 0
    return folder_exists[top]
}
function fail(msg) { print FILENAME ":" FNR ": " msg; ++failures }

# Reads the table (the rows under a "| layer |" header in the Layout section)
# and queues every source file of its entries for the main rules.
BEGIN {
    while ((getline line < "README.md") > 0) {
        if (line ~ /^## /) in_layout = (line == "## Layout")
        if (!in_layout) continue
        if (line ~ /^\| *layer *\|/) { in_table = 1; continue }
        if (!in_table) continue
        if (line !~ /^\|/) { in_table = 0; continue }
        split(line, cell, "|")
        gsub(/ /, "", cell[2])
        if (cell[2] ~ /^:?---+:?$/) continue
        if (cell[2] !~ /^([0-9]+|–|-)$/) { table_error("a layer row must start with a number or –: " line); continue }
        level = cell[2] ~ /^[0-9]+$/ ? cell[2] + 0 : -1
        rest = cell[3]
        count = 0
        while (match(rest, /`[^`]+`/)) {
            e = substr(rest, RSTART + 1, RLENGTH - 2)
            rest = substr(rest, RSTART + RLENGTH)
            if (e ~ /\/$/) { e = substr(e, 1, length(e) - 1); is_dir[e] = 1 }
            if (e in layer) table_error(shown(e) " is in the layer table twice")
            layer[e] = level
            if (level < 0) { uses[e] = cell[4]; gsub(/^ +| +$/, "", uses[e]) }
            ++count
        }
        if (!count) table_error("a layer row names no folder: " line)
        ++rows
    }
    if (!rows) table_error("no layer table (a \"| layer |\" header) in the Layout section")
    for (e in uses) {
        rest = uses[e]
        while (match(rest, /`[^`]+`/)) {
            used = substr(rest, RSTART + 1, RLENGTH - 2)
            rest = substr(rest, RSTART + RLENGTH)
            key = used
            sub(/\/$/, "", key)
            if (!(key in layer) || shown(key) != used)
                table_error(shown(e) " uses `" used "`, which is not in the layer table")
        }
    }
    if (broken) exit 2
    for (e in layer) {
        find = "find \"" e "\" -type f \\( -name \"*.h\" -o -name \"*.hpp\" -o -name \"*.inc\" -o -name \"*.cpp\" -o -name \"*.cc\" -o -name \"*.c\" \\) 2>/dev/null | sort"
        while ((find | getline file) > 0)
            if (!(file in queued)) { queued[file] = 1; ARGV[ARGC++] = file }
        close(find)
    }
    if (ARGC == 1) { print "check-layers: the layer table names no folder with sources"; broken = 1; exit 2 }
}

FNR == 1 { from = entry_of(FILENAME) }

/^[ \t]*#[ \t]*include[ \t]*["<]/ {
    if (!match($0, /["<][^">]+[">]/)) next
    written = substr($0, RSTART, RLENGTH)
    path = substr(written, 2, length(written) - 2)
    if (path ~ /(^|\/)\.\.\//) { fail("#include " written " climbs out of its folder; name headers from the source root"); next }
    if (path !~ /\//) next
    to = entry_of(path)
    if (to == from) next
    if (to == "") {
        top = substr(path, 1, index(path, "/") - 1)
        if (is_folder(top)) fail("#include " written " reaches into " top "/, which is not in the layer table")
    } else if (layer[from] < 0) {
        if (index(uses[from], "`" shown(to) "`") == 0)
            fail("#include " written ": " shown(from) " is outside the layers and includes only its own headers and " uses[from])
    } else if (layer[to] < 0) {
        fail("#include " written " reaches from " shown(from) " (layer " layer[from] ") into " shown(to) ", which is outside the layers")
    } else if (layer[to] > layer[from]) {
        fail("#include " written " reaches up from " shown(from) " (layer " layer[from] ") to " shown(to) " (layer " layer[to] ")")
    } else if (layer[to] == layer[from]) {
        fail("#include " written " reaches sideways from " shown(from) " to " shown(to) " (both layer " layer[to] ")")
    }
}

END {
    if (broken) exit 2
    if (failures) { print failures " include(s) break the layers of the table in README.md"; exit 1 }
    print "check-layers: " ARGC - 1 " files keep to the layers"
}
'
