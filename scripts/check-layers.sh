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
    if [[ ! $line =~ ^[[:space:]]*([A-Za-z0-9_./-]+):(.*)$ ]]; then
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

# The room that holds `path`: the longest room whose folder it lies in; empty when none does.
room_of()
{
    found=
    local room
    for room in "${rooms[@]}"; do
        [[ $1 == "$room"/* && ${#room} -gt ${#found} ]] && found=$room
    done
    return 0
}

# Every top-level folder with sources is a room, and so is every folder with sources directly inside
# a room that is divided into rooms of its own; build folders are not part of the tree.
check_folders()
{
    local folder name
    for folder in "$1"/*/; do
        [[ -d $folder ]] || continue
        name=${folder#"$top"/}
        name=${name%/}
        [[ -e $folder/CMakeCache.txt || -n ${uses[$name]+set} ]] && continue
        [[ -n $(sources "$folder" -print -quit) ]] && fault "$name/ holds sources but has no line in $table"
    done
    return 0
}
check_folders "$top"
declare -A divided=()
for room in "${rooms[@]}"; do
    [[ $room == */* ]] && divided[${room%/*}]=1
done
for room in "${!divided[@]}"; do
    check_folders "$top/$room"
done

# A room may use the rooms its line names, everything inside them, and the files that lie directly in
# a room that holds its own (such as sheet/Errors.h for the engine's rooms).
while IFS=: read -r file number included; do
    if [[ $included == *../* ]]; then
        fault "$file:$number: includes $included, which climbs out of its folder"
        continue
    fi
    [[ $included == */* ]] || continue
    room_of "$file"
    room=$found
    room_of "$included"
    target=$found
    [[ -n $room && -n $target && $target != "$room" && $room != "$target"/* ]] || continue
    allowed=${uses[$room]}
    [[ $allowed == *" * "* ]] && continue
    permitted=0
    read -ra used_rooms <<<"$allowed"
    for used in "${used_rooms[@]}"; do
        [[ $target == "$used" || $target == "$used"/* ]] && permitted=1
    done
    ((permitted)) && continue
    described=${used_rooms[*]:+only ${used_rooms[*]}}
    fault "$file:$number: includes $included, but $room may use ${described:-no other room}"
done < <(cd "$top" && for room in "${rooms[@]}"; do [[ $room == */* || ! -d $room ]] || sources "$room" -print0; done |
    sort -z | xargs -0r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' |
    sed -E 's/^([^:]+):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">].*/\1:\2:\3/')

if ((faults > 0)); then
    echo "layering faults: $faults (the rooms and what each may use are in $table)"
    exit 1
fi
echo "every include keeps to the rooms of $table"
