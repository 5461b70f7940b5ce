#!/usr/bin/env bash
# Fails when a source or header file includes a header of a room that its own room may not use,
# or climbs out of its folder with "../". The rooms and their uses are the lines of layers.txt.
# Takes the top of the source tree; without it, the tree this script belongs to.
set -euo pipefail
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
table=scripts/layers.txt
rooms=()
declare -A uses=()
faults=0

fault()
{
    echo "$*"
    faults=$((faults + 1))
}

while IFS= read -r line; do
    line=${line%%#*}
    [[ $line =~ ^[[:space:]]*$ ]] && continue
    if [[ ! $line =~ ^[[:space:]]*([A-Za-z0-9_.-]+):(.*)$ ]]; then
        fault "$table: not a room line: $line"
        continue
    fi
    room=${BASH_REMATCH[1]}
    read -ra used_rooms <<<"${BASH_REMATCH[2]}"
    [[ -n ${uses[$room]+set} ]] && fault "$table: $room has two lines"
    for used in "${used_rooms[@]}"; do
        [[ $used == '*' || -n ${uses[$used]+set} ]] || fault "$table: $room uses $used, which has no line above it"
    done
    rooms+=("$room")
    uses[$room]=" ${used_rooms[*]} "
done <"$top/$table"

# The source and header files under a folder, handed to the find actions that follow it.
sources()
{
    find "$1" -type f -regextype posix-extended -regex '.*\.(h|hpp|cpp|cc|cxx)' "${@:2}"
}

# Every top-level folder with sources is a room; build folders are not part of the tree.
for folder in "$top"/*/; do
    name=$(basename "$folder")
    [[ -e $folder/CMakeCache.txt || -n ${uses[$name]+set} ]] && continue
    [[ -n $(sources "$folder" -print -quit) ]] && fault "$name/ holds sources but has no line in $table"
done

for room in "${rooms[@]}"; do
    [[ -d $top/$room ]] || continue
    allowed=${uses[$room]}
    read -ra used_rooms <<<"$allowed"
    described=${used_rooms[*]:+only ${used_rooms[*]}}
    while IFS=: read -r file number included; do
        if [[ $included == *../* ]]; then
            fault "$file:$number: includes $included, which climbs out of its folder"
            continue
        fi
        [[ $included == */* ]] || continue
        target=${included%%/*}
        [[ -n ${uses[$target]+set} && $target != "$room" ]] || continue
        [[ $allowed == *" * "* || $allowed == *" $target "* ]] && continue
        fault "$file:$number: includes $included, but $room may use ${described:-no other room}"
    done < <(cd "$top" && sources "$room" -print0 | sort -z |
        xargs -0r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' |
        sed -E 's/^([^:]+):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">].*/\1:\2:\3/')
done

if ((faults > 0)); then
    echo "layering faults: $faults (the rooms and what each may use are in $table)"
    exit 1
fi
echo "every include keeps to the rooms of $table"
