#!/usr/bin/env bash
# Writes settings for a run on a catalogue, as a program run before would have left them:
# the catalogue as the only root and the search base, and a player (so that the program does
# not take the run for its first start). Sourced by the scripts that start the program.
# write_demo_settings CONFIG_HOME CATALOGUE_FOLDER PLAYER
write_demo_settings() {
    local hive="$1/mp3tunestead/HKEY_CURRENT_USER.reg" catalogue=$2 player=$3
    escape() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'; }
    mkdir -p "$(dirname "$hive")"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2]\r\n' >"$hive"
    printf '"PlayerName"="%s"\r\n"MP3 Files #1"="%s"\r\n"SearchBase"="%s"\r\n' \
        "$(escape "$player")" "$(escape "$catalogue")" "$(escape "$catalogue")" >>"$hive"
}
