#!/usr/bin/env bash
# A fresh Wine prefix for one script, and settings in its registry as a program run before
# would have left them. Sourced by the scripts that start the Windows build under Wine.
#   start_wine_session FOLDER       a fresh prefix in FOLDER, with its server up
#   end_wine_session                stops that prefix's server (callers trap it on exit)
#   import_wine_settings CATALOGUE_FOLDER [REG_LINE...]
#     the catalogue (a Linux path) as the only root and the search base, a player, and any
#     further value lines ("Name"=...) under the settings key
wine_bounded() { timeout -k 10 "$@"; }

start_wine_session() {
    wine_session_started=yes
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # A persistent server and one finished start-up first; without them a run can hang while
    # the prefix is still being set up.
    wine_bounded 60 wineserver -p
    wine_bounded 300 wine cmd /c exit 2>/dev/null
}

end_wine_session() {
    if [ -n "${wine_session_started:-}" ]; then
        timeout -k 5 30 wineserver -k || true
    fi
}

import_wine_settings() {
    local catalogue reg="$WINEPREFIX/settings.reg"
    catalogue=$(wine_bounded 60 winepath -w "$1")
    shift
    escape() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'; }
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2]\r\n'
        printf '"PlayerName"="%s"\r\n"MP3 Files #1"="%s"\r\n"SearchBase"="%s"\r\n' \
            'C:\\windows\\notepad.exe' "$(escape "$catalogue")" "$(escape "$catalogue")"
        for line in "$@"; do
            printf '%s\r\n' "$line"
        done
    } >"$reg"
    wine_bounded 60 wine regedit /S "$(wine_bounded 60 winepath -w "$reg")"
    if ! wine_bounded 60 wine reg query 'HKCU\SOFTWARE\Quorlen\MP3 Discovane\v1.2' \
        /v 'MP3 Files #1' | grep -qF "$catalogue"; then
        echo "The settings did not reach Wine's registry" >&2
        return 1
    fi
}
