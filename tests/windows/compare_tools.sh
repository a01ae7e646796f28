#!/usr/bin/env bash
# Runs the Linux and the Windows (.exe under Wine) builds of each command-line
# tool with the same arguments, each on its own copy of the demo machines, and
# compares standard output, standard error, the exit status and the files
# they write (firmware images, written-back machine files) byte for byte.
#   compare_tools.sh <linux build dir> <windows build dir> <source dir>
# Wine's settings (WINEPREFIX, WINEDEBUG, ...) come from the environment.
set -uo pipefail
linux="$(realpath "$1")"
windows="$(realpath "$2")"
source="$(realpath "$3")"
work="$(mktemp -d "${TMPDIR:-/tmp}/compare-tools-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Each run: the tool, then its arguments. Paths are relative to the copy's folder,
# so both builds print the same names.
runs=(
  "fwgen --model KD-410 --firmware-version 1.05 UPDATE.HEX"
  "fwgen --model KD-320 --firmware-version 2.10 --lf LF.HEX"
  "fwgen --list"
  "fwhex UPDATE.HEX"
  "fwhex --image image.bin LF.HEX"
  "fwhex MISSING.HEX"
  "fwhex"
  "drivelist"
  "dvdregion"
  "dvdregion --json D"
  "dvdregion Y:"
  "dvdregion --set 2 E"
  "dvdregion --json --set 3 Z"
  "dvdregion --set 9 E"
  "dvdspeed --info D:"
  "dvdspeed --info --json E"
  "dvdspeed --info --aspi 2:0"
  "dvdspeed --quiet --permanent E"
  "dvdspeed --performance --aspi 1:1"
  "dvdspeed --quiet --yes F"
  "dvdspeed --extraction 12 D"
  "dvdspeed --extraction max --aspi 0:1"
  "dvdspeed --bogus"
  "dvdspeed -v --info D"
  "dvdspeed --info K"
  "dvdregion --set 2 --dry-run E"
  "dvdregion --set 1 --set 2 E"
  "drivelist --json"
  "fwhex --version"
  "fwgen --help"
)

failures=0
for machine in demo.json demo98.json; do
  for side in linux windows; do
    mkdir -p "$work/$machine/$side"
    cp "$source/emulator/machines/$machine" "$work/$machine/$side/machine.json"
  done
  index=0
  for run in "${runs[@]}"; do
    index=$((index + 1))
    read -r -a words <<<"$run"
    tool="${words[0]}"
    arguments=("${words[@]:1}")
    for side in linux windows; do
      folder="$work/$machine/$side"
      if [ "$side" = linux ]; then
        program=("$linux/tools/$tool/$tool")
      else
        program=(wine "$windows/tools/$tool/$tool.exe")
      fi
      (cd "$folder" && DVDUTIL_MACHINE=machine.json "${program[@]}" "${arguments[@]}" \
        </dev/null >"out.$index" 2>"err.$index"; echo "$?" >"status.$index")
    done
    for file in "out.$index" "err.$index" "status.$index"; do
      if ! cmp -s "$work/$machine/linux/$file" "$work/$machine/windows/$file"; then
        echo "DIFFERENT on $machine: $run ($file)"
        diff <(od -c "$work/$machine/linux/$file") <(od -c "$work/$machine/windows/$file") | head -20
        failures=$((failures + 1))
      fi
    done
  done
  # What the tools wrote: images, HEX files, the machine's kept state.
  for file in machine.json UPDATE.HEX LF.HEX image.bin; do
    if [ ! -e "$work/$machine/linux/$file" ]; then
      echo "MISSING on $machine: the Linux build wrote no $file"
      failures=$((failures + 1))
    elif ! cmp -s "$work/$machine/linux/$file" "$work/$machine/windows/$file"; then
      echo "DIFFERENT on $machine: the file $file"
      failures=$((failures + 1))
    fi
  done
  echo "$machine: ${#runs[@]} runs of each build compared"
done
if [ "$failures" -ne 0 ]; then
  echo "$failures differences between the Linux and the Windows tools"
  exit 1
fi
echo "The Linux and the Windows tools print and write the same bytes."
