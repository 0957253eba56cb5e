#!/usr/bin/env bash
# quillfern generate beside a yardstick (the least a C++ program does for the
# same job, bench/cli/yardstick.cpp) and the scripting tools
# people use for test names, as whole processes, in the same run:
#   bench/cli/compare.sh BUILD_DIR [RUNS]
# The peers (@faker-js/faker, chance) are installed from npm into
# BUILD_DIR/bench-peers, never into the project. Python Faker joins in when
# Debian's python3-fake-factory is installed. Prints medians of wall time and the
# highest peak memory (maximum resident set) of the runs.
# QF_BASELINE=/path/to/an/older/quillfern adds its `generate` beside this one's
# (with the names.mdb beside it), for the ratio of the origin runs to it.
set -euo pipefail

BUILD=$(cd "${1:?usage: bench/cli/compare.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
QF=$BUILD/bin/quillfern
YARDSTICK=$BUILD/bench/cli/yardstick
CENSUS=$(cd "$HERE/../.." && pwd)/../shared/data/census-1990
DB=$BUILD/bin/names.mdb
BASELINE=${QF_BASELINE:-}
TEN_ORIGINS=de,fr,it,es,pl,ru,ja,zh-CN,ko,en-US
PEERS=$BUILD/bench-peers
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

for needed in "$QF" "$YARDSTICK" "$DB" "$CENSUS/dist.all.last"; do
    [ -e "$needed" ] || { echo "missing $needed: build first (cmake --build $BUILD)" >&2; exit 1; }
done

if [ ! -d "$PEERS/node_modules/@faker-js/faker" ] || [ ! -d "$PEERS/node_modules/chance" ]; then
    echo "Installing @faker-js/faker and chance into $PEERS" >&2
    mkdir -p "$PEERS"
    npm install --prefix "$PEERS" --no-audit --no-fund --loglevel=error @faker-js/faker chance >&2
fi
# The scripts sit beside node_modules, where node resolves their imports.
cp "$HERE/faker_names.mjs" "$HERE/chance_names.js" "$PEERS/"

PYTHON_FAKER=no
if /usr/bin/python3 -c 'import faker' 2>/dev/null; then PYTHON_FAKER=yes; fi

# run NAME COMMAND...: one timed run; appends "seconds kilobytes" to WORK/NAME.
# The clock is read around the run (to the millisecond; GNU time's own gives
# hundredths), the peak memory is GNU time's.
# Each run starts with nothing of the runs before it waiting to be written to
# disk: a program that syncs its own file (quillfern does, before it replaces
# the old one) would otherwise wait for the others' files as well.
run() {
    local name=$1; shift
    local start end
    sync
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$WORK/$name.peak" "$@" || { echo "$name failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    echo "$(awk -v ns=$((end - start)) 'BEGIN {printf "%.3f", ns/1e9}') $(cat "$WORK/$name.peak")" \
        >> "$WORK/$name"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
seconds() { cut -d' ' -f1 "$WORK/$1" | median; }
peak_mb() { cut -d' ' -f2 "$WORK/$1" | sort -n | tail -1 | awk '{printf "%.1f", $1/1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a/b}'; }

MILLION=1000000
echo "1,000,000 full names to a file, $RUNS runs each, in turn" >&2
for ((i = 0; i < RUNS; i++)); do
    run quillfern "$QF" generate -n $MILLION -o "$WORK/q.txt"
    run unique "$QF" generate -n $MILLION --unique -o "$WORK/u.txt"
    run origin "$QF" generate -n $MILLION --origin en-US -o "$WORK/o.txt"
    # Each name by its frequency: the full distributions and births load first.
    run weighted "$QF" generate -n $MILLION --weighted --origin en-US -o "$WORK/w.txt"
    run tenmix "$QF" generate -n $MILLION --origin $TEN_ORIGINS -o "$WORK/t.txt"
    if [ -n "$BASELINE" ]; then run baseline "$BASELINE" generate -n $MILLION -o "$WORK/b.txt"; fi
    run minimal "$YARDSTICK" "$CENSUS" $MILLION "$WORK/m.txt"
    run faker node "$PEERS/faker_names.mjs" $MILLION "$WORK/f.txt"
    run chance node "$PEERS/chance_names.js" $MILLION "$WORK/c.txt"
    # Invented names: two models (male, female) trained at start-up, then a
    # million tries through them; the last names' model learns 88,799 names.
    run invent "$QF" generate --invent --origin en-US --part first -n $MILLION -o "$WORK/i.txt"
    run inventlast "$QF" generate --invent --origin en-US --part last -n $MILLION -o "$WORK/l.txt"
    # Python Faker takes minutes for a million: one run.
    if [ $PYTHON_FAKER = yes ] && [ "$i" -eq 0 ]; then
        run pyfaker /usr/bin/python3 "$HERE/faker_names.py" $MILLION "$WORK/p.txt"
    fi
done
for file in q u o t m f c i l $([ $PYTHON_FAKER = yes ] && echo p) $([ -n "$BASELINE" ] && echo b); do
    lines=$(wc -l < "$WORK/$file.txt")
    [ "$lines" -eq $MILLION ] || { echo "$file.txt has $lines lines" >&2; exit 1; }
done

[ "$(wc -l < "$WORK/w.txt")" -eq $MILLION ] || { echo "w.txt is not $MILLION lines" >&2; exit 1; }

HUNDRED=100000000
echo "100,000,000 names to /dev/null, 3 runs each" >&2
for ((i = 0; i < 3; i++)); do
    run devnull sh -c "exec '$QF' generate -n $HUNDRED > /dev/null"
    run yardnull sh -c "exec '$YARDSTICK' '$CENSUS' $HUNDRED > /dev/null"
    run devnull10 sh -c "exec '$QF' generate -n $HUNDRED --origin $TEN_ORIGINS > /dev/null"
done

q=$(seconds quillfern); m=$(seconds minimal); f=$(seconds faker); c=$(seconds chance)
u=$(seconds unique); d=$(seconds devnull); o=$(seconds origin); t=$(seconds tenmix)
d10=$(seconds devnull10); i=$(seconds invent); l=$(seconds inventlast)
y=$(seconds yardnull)
echo
echo "| 1,000,000 names to a file | median wall time | peak memory |"
echo "|---|---|---|"
echo "| quillfern generate | $q s | $(peak_mb quillfern) MB |"
echo "| quillfern generate --unique | $u s | $(peak_mb unique) MB |"
echo "| quillfern generate --origin en-US | $o s | $(peak_mb origin) MB |"
echo "| quillfern generate --weighted --origin en-US | $(seconds weighted) s | $(peak_mb weighted) MB |"
echo "| quillfern generate --origin (ten origins) | $t s | $(peak_mb tenmix) MB |"
if [ -n "$BASELINE" ]; then
    echo "| baseline quillfern generate | $(seconds baseline) s | $(peak_mb baseline) MB |"
fi
echo "| yardstick (C++, census lists, 1 MiB buffer) | $m s | $(peak_mb minimal) MB |"
echo "| @faker-js/faker | $f s | $(peak_mb faker) MB |"
echo "| chance | $c s | $(peak_mb chance) MB |"
echo "| quillfern generate --invent --origin en-US --part first | $i s | $(peak_mb invent) MB |"
echo "| quillfern generate --invent --origin en-US --part last | $l s | $(peak_mb inventlast) MB |"
if [ $PYTHON_FAKER = yes ]; then
    echo "| Python Faker (1 run) | $(seconds pyfaker) s | $(peak_mb pyfaker) MB |"
fi
echo
echo "quillfern / yardstick, 1,000,000 to a file: $(ratio "$q" "$m") (target at most 1.5)"
echo "quillfern / yardstick, 100,000,000 to /dev/null: $(ratio "$d" "$y") (target at most 1.6)"
echo "faker.js / quillfern: $(ratio "$f" "$q") (target at least 20)"
echo "chance / quillfern: $(ratio "$c" "$q")"
echo "--unique / without: $(ratio "$u" "$q") (target at most 2)"
if [ -n "$BASELINE" ]; then
    b=$(seconds baseline)
    echo "--origin en-US / baseline: $(ratio "$o" "$b") (target at most 1.2)"
    echo "ten origins / baseline: $(ratio "$t" "$b") (target at most 1.2)"
fi
echo "--weighted / unweighted --origin en-US: $(ratio "$(seconds weighted)" "$o") (target at most 1.25)"
echo "1,000,000 invented first names: median $i s (target at most 1 s)"
echo "100,000,000 names to /dev/null: median $d s," \
    "$(awk -v s="$d" -v n=$HUNDRED 'BEGIN {printf "%.1f", n/s/1e6}') million names/s," \
    "peak memory $(peak_mb devnull) MB (target at most 50 MB)"
echo "100,000,000 names by the yardstick: median $y s"
echo "100,000,000 names of ten origins to /dev/null: median $d10 s," \
    "$(awk -v s="$d10" -v n=$HUNDRED 'BEGIN {printf "%.1f", n/s/1e6}') million names/s," \
    "peak memory $(peak_mb devnull10) MB (target at most 50 MB)"
