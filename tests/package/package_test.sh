#!/usr/bin/env bash
# The packages as a user meets them: builds them twice with scripts/package and compares the
# bytes, checks what the portable zip holds, then in the test prefix runs the installer silently,
# reads the installed program's version, starts it, hands it a file, a folder, a drive and the
# Recycle Bin through Explorer's verbs as registered, closes it, and uninstalls it silently: the
# verbs and the Send To shortcut go, a neighbouring verb of another program stays. The user's Path
# gets the install folder once, behind the user's own entries, and loses exactly that again; one
# too long to change, or one that names the folder already, is left as it was.
# Arguments: the project version, the version reader (package_file_version.exe), the end-to-end
# driver (kww_e2e_driver.exe), and a work folder of this test's own. scripts/test provides
# DISPLAY, WINEPREFIX and a wineserver.
set -euo pipefail
version="$1"
file_version="$2"
driver="$3"
work="$4"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
wine=("$root/scripts/wine-exec")
# A shortcut saved under Wine starts winemenubuilder, which writes menu entries into the Linux
# user's home: not ours to touch.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winemenubuilder.exe=d"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a Windows command line as it is written: NSIS reads "_?=" only unquoted and last, which an
# argument list passed through wine would quote. cmd /c waits for the program and returns its code.
run_command_line() {
    "${wine[@]}" cmd /c "$1"
}

zip_name="KestrelWipewell-$version-win32.zip"
setup_name="KestrelWipewell-$version-setup.exe"
export PACKAGE_BUILD_DIR="$work/build"
rm -rf "$work/first" "$work/second"

# --- Packages: both artifacts, reproducible, the zip holding exactly the program's files.
DIST_DIR="$work/first" "$root/scripts/package"
DIST_DIR="$work/second" "$root/scripts/package" >/dev/null
for name in "$zip_name" "$setup_name" SHA256SUMS; do
    cmp "$work/first/$name" "$work/second/$name" || fail "$name differs between two builds"
done
(cd "$work/first" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the packages"

zip="$work/first/$zip_name"
unzip -tq "$zip" >/dev/null || fail "$zip_name is damaged"
expected_zip="$(printf '%s\n' KestrelWipewell.exe kww.exe README.txt $(git -C "$root" ls-files help) | LC_ALL=C sort)"
actual_zip="$(unzip -Z1 "$zip")"
[ "$actual_zip" = "$expected_zip" ] ||
    fail "$zip_name holds (in this order):"$'\n'"$actual_zip"$'\n'"expected:"$'\n'"$expected_zip"

# --- Where the installer is to put things, as this prefix names the user's folders.
folders="$("${wine[@]}" cmd /c 'echo %LOCALAPPDATA%& echo %APPDATA%' | tr -d '\r')"
local_appdata="$(sed -n 1p <<<"$folders")"
appdata="$(sed -n 2p <<<"$folders")"
install_folder="$local_appdata\\Programs\\Kestrel Wipewell"
install_dir="$(winepath -u "$install_folder")"
moved_folder="$install_folder moved"
shortcut="$(winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrel Wipewell.lnk")"
log_root="$(winepath -u "$appdata\\Larkspan")"
log_file="$log_root/Wipewell/KWW.log"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KestrelWipewell'
send_to="$(winepath -u "$appdata\Microsoft\Windows\SendTo\Kestrel Wipewell.lnk")"
verb_keys=('HKCU\Software\Classes\*\shell\KestrelWipewell' 'HKCU\Software\Classes\Directory\shell\KestrelWipewell')
drive_verb_key='HKCU\Software\Classes\Drive\shell\KestrelWipewell'
bin_verb_key='HKCU\Software\Classes\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell\KestrelWipewell'
neighbour_key='HKCU\Software\Classes\*\shell\KestrelWipewellTestNeighbour'
environment_key='HKCU\Environment'
if "${wine[@]}" reg query "$environment_key" /v Path >/dev/null 2>&1; then
    fail "the user's Path exists before the install: not this test's to change"
fi
for key in "${verb_keys[@]}" "$drive_verb_key" "$bin_verb_key" "$neighbour_key"; do
    if "${wine[@]}" reg query "$key" >/dev/null 2>&1; then
        fail "$key exists before the install: not this test's to remove"
    fi
done
for made in "$install_dir" "$(winepath -u "$moved_folder")" "$shortcut" "$send_to"; do
    [ ! -e "$made" ] || fail "$made exists before the install: not this test's to remove"
done
log_root_was_there=0
[ -e "$log_root" ] && log_root_was_there=1

installed=0
uninstaller_copy="$work/Uninstall.exe"
uninstall() {
    cp "$install_dir/Uninstall.exe" "$uninstaller_copy"
    run_command_line "$(winepath -w "$uninstaller_copy") /S _?=$install_folder"
}
# Whatever happens, the prefix is left as it was found: the install undone (also what a faulty
# uninstaller left), the log folder removed only when the program made it during this test.
clean_up() {
    if [ "$installed" = 1 ]; then
        [ ! -f "$install_dir/Uninstall.exe" ] || uninstall >/dev/null 2>&1 || true
        rm -rf "$install_dir" "$(winepath -u "$moved_folder")"
        rm -f "$shortcut" "$send_to"
        for key in "$uninstall_key" "${verb_keys[@]}" "$drive_verb_key" "$bin_verb_key"; do
            "${wine[@]}" reg delete "$key" /f >/dev/null 2>&1 || true
        done
    fi
    "${wine[@]}" reg delete "$neighbour_key" /f >/dev/null 2>&1 || true
    "${wine[@]}" reg delete "$environment_key" /v Path /f >/dev/null 2>&1 || true
    rm -rf "$work/handed"
    rm -f "$uninstaller_copy"
    if [ "$log_root_was_there" = 0 ]; then rm -rf "$log_root"; fi
}
trap clean_up EXIT
trap 'exit 1' INT TERM

# The user's Path as the registry holds it: its type and its text as written.
user_path() {
    "${wine[@]}" reg query "$environment_key" /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^    Path    //p'
}
set_user_path() {
    "${wine[@]}" reg add "$environment_key" /v Path /t REG_EXPAND_SZ /d "$1" /f >/dev/null
}

# --- Install, beside another program's verb on files, with a Path longer than the installer's
# strings hold (1024 characters): written back cut short, it would lose the user's entries.
"${wine[@]}" reg add "$neighbour_key" /ve /d "Another program's verb" /f >/dev/null
long_path="$(printf 'C:\\Tools\\%03d;' $(seq 90))C:\\Tools"
set_user_path "$long_path"
installed=1
"${wine[@]}" "$work/first/$setup_name" /S || fail "the silent install ended with code $?"
[ "$(user_path)" = "REG_EXPAND_SZ    $long_path" ] || fail "the install changed a Path too long for it"

expected_installed="$(printf '%s\n' "$expected_zip" Uninstall.exe | grep -vx README.txt | LC_ALL=C sort)"
actual_installed="$(cd "$install_dir" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
[ "$actual_installed" = "$expected_installed" ] ||
    fail "$install_dir holds:"$'\n'"$actual_installed"$'\n'"expected:"$'\n'"$expected_installed"
unzip -p "$zip" KestrelWipewell.exe | cmp - "$install_dir/KestrelWipewell.exe" ||
    fail "the installed program is not the one in the zip"
[ -f "$shortcut" ] || fail "no Start menu shortcut at $shortcut"

entry="$("${wine[@]}" reg query "$uninstall_key" | tr -d '\r')" || fail "no Add/Remove Programs entry"
value() {
    sed -n "s/^    $1    REG_[A-Z_]*    //p" <<<"$entry"
}
check_value() {
    [ "$(value "$1")" = "$2" ] || fail "$1 is '$(value "$1")', expected '$2'"
}
check_value DisplayName "Kestrel Wipewell"
check_value DisplayVersion "$version"
check_value Publisher "Larkspan"
check_value DisplayIcon "$install_folder\\KestrelWipewell.exe,0"
check_value InstallLocation "$install_folder"
check_value UninstallString "\"$install_folder\\Uninstall.exe\""
[ $(($(value EstimatedSize))) -gt 0 ] || fail "EstimatedSize is '$(value EstimatedSize)'"

# The version resource has four numbers; the project version may give fewer.
four_part_version="$version"
while [ "$(tr -cd . <<<"$four_part_version" | wc -c)" -lt 3 ]; do four_part_version+=".0"; done
installed_version="$("${wine[@]}" "$file_version" "$install_folder\\KestrelWipewell.exe" | tr -d '\r')" ||
    fail "no version resource could be read from the installed program"
[ "$installed_version" = "$four_part_version" ] ||
    fail "the installed program's file version is '$installed_version', expected $four_part_version"
# The console program beside it: the same version in its resource and on its --version line.
console_version="$("${wine[@]}" "$file_version" "$install_folder\\kww.exe" | tr -d '\r')" ||
    fail "no version resource could be read from the installed kww.exe"
[ "$console_version" = "$four_part_version" ] ||
    fail "the installed kww.exe's file version is '$console_version', expected $four_part_version"
[ "$("${wine[@]}" "$install_folder\\kww.exe" --version </dev/null | tr -d '\r')" = "kww $version" ] ||
    fail "the installed kww.exe --version does not say kww $version"

# --- The user's Path (as Windows 10 makes it, ending in ';'): the folder appended once behind the
# user's entries, which stay as written (not expanded); an install into another folder moves the
# entry along, and back; a second install adds nothing; a new terminal finds kww there.
user_entries='%USERPROFILE%\AppData\Local\Microsoft\WindowsApps;C:\Tools;'
set_user_path "$user_entries"
install_into() {
    run_command_line "$(winepath -w "$work/first/$setup_name") /S /D=$1" || fail "the install into $1 ended with code $?"
    [ "$(user_path)" = "REG_EXPAND_SZ    $user_entries$1;" ] || fail "after the install into $1 the user's Path is '$(user_path)'"
}
for folder in "$install_folder" "$moved_folder" "$install_folder" "$install_folder"; do install_into "$folder"; done
# The files there stay, as after any install into another folder.
rm -rf "$(winepath -u "$moved_folder")"
[ "$(cd "$work" && "${wine[@]}" cmd /c 'kww --version' </dev/null | tr -d '\r')" = "kww $version" ] ||
    fail "a new terminal does not find kww on the user's Path"

# --- Explorer's verbs on files and folders, and the Send To shortcut.
[ -f "$send_to" ] || fail "no Send To shortcut at $send_to"
default_value() {
    "${wine[@]}" reg query "$1" /ve | tr -d '\r' | sed -n 's/^    (Default)    REG_SZ    //p'
}
verb_commands=()
for key in "${verb_keys[@]}"; do
    [ "$(default_value "$key")" = "Erase with Kestrel Wipewell" ] || fail "$key is not \"Erase with Kestrel Wipewell\""
    "${wine[@]}" reg query "$key" /v Icon | tr -d '\r' | grep -qxF "    Icon    REG_SZ    $install_folder\\KestrelWipewell.exe,0" ||
        fail "$key has not the program's icon"
    verb_commands+=("$(default_value "$key\\command")")
    [[ "${verb_commands[-1]}" == *'"%1"'* ]] || fail "$key\\command is '${verb_commands[-1]}', without \"%1\""
done
# On drives: the free space, by the switch that only adds a row for it.
[ "$(default_value "$drive_verb_key")" = "Wipe free space with Kestrel Wipewell" ] ||
    fail "$drive_verb_key is not \"Wipe free space with Kestrel Wipewell\""
"${wine[@]}" reg query "$drive_verb_key" /v Icon | tr -d '\r' | grep -qxF "    Icon    REG_SZ    $install_folder\\KestrelWipewell.exe,0" ||
    fail "$drive_verb_key has not the program's icon"
drive_command="$(default_value "$drive_verb_key\\command")"
[ "$drive_command" = "\"$install_folder\\KestrelWipewell.exe\" /freespace \"%1\"" ] ||
    fail "$drive_verb_key\\command is '$drive_command'"
# On the Recycle Bin's own menu: this user's bin, by its switch.
[ "$(default_value "$bin_verb_key")" = "Erase with Kestrel Wipewell" ] ||
    fail "$bin_verb_key is not \"Erase with Kestrel Wipewell\""
bin_command="$(default_value "$bin_verb_key\\command")"
[ "$bin_command" = "\"$install_folder\\KestrelWipewell.exe\" /recyclebin" ] ||
    fail "$bin_verb_key\\command is '$bin_command'"

# --- The installed program starts and shows its window; each verb's command, filled in as
# Explorer fills it, adds its item and ends with 255 (the drive's as "C:\", whose backslash
# escapes the closing quote); the program ends with exit code 2 on the cancel command (IDCANCEL,
# 2), as from its close box. The free-space row only waits: nothing is erased.
mkdir -p "$work/handed/a folder"
printf 'handed by a verb\n' >"$work/handed/a file.txt"
handed_sums="$(cd "$work/handed" && find . -type f -exec sha256sum {} + | sort)"
handed_file="$(winepath -w "$work/handed/a file.txt")"
handed_folder="$(winepath -w "$work/handed/a folder")"
# The command with the item's path for its %1, as Explorer runs it.
filled_in() {
    printf '%s%s%s' "${1%%"%1"*}" "$2" "${1#*"%1"}"
}
caption="Kestrel Wipewell"
"${wine[@]}" "$driver" start "$install_folder\\KestrelWipewell.exe" -- wait-window "$caption" -- \
    run-line "$(filled_in "${verb_commands[0]}" "$handed_file")" 255 -- wait-log "Added: $handed_file. " -- \
    run-line "$(filled_in "${verb_commands[1]}" "$handed_folder")" 255 -- wait-log "Added: $handed_folder. " -- \
    run-line "$(filled_in "$drive_command" 'C:\')" 255 -- wait-log 'Added: C:\. ' -- \
    run-line "$bin_command" 255 -- wait-log 'Added: Recycle Bin (' -- \
    command "$caption" 2 -- expect-exit 2 ||
    fail "the installed program did not show its window, take a file, a folder, a drive and the Recycle Bin from the verbs and close with exit code 2"
[ "$(cd "$work/handed" && find . -type f -exec sha256sum {} + | sort)" = "$handed_sums" ] && [ -d "$work/handed/a folder" ] ||
    fail "an item handed over by a verb was changed"
[ -f "$log_file" ] || fail "the installed program wrote no log at $log_file"
log_before="$(sha256sum <"$log_file")"

# --- Uninstall, silently, the way Windows runs an uninstaller it must wait for: a copy outside
# the install folder told where that folder is.
uninstall || fail "the silent uninstall ended with code $?"
[ ! -e "$install_dir" ] || fail "the uninstall left $install_dir: $(cd "$install_dir" && find .)"
[ ! -e "$shortcut" ] || fail "the uninstall left the shortcut $shortcut"
[ ! -e "$send_to" ] || fail "the uninstall left the Send To shortcut $send_to"
for key in "${verb_keys[@]}" "$drive_verb_key" "$bin_verb_key"; do
    if "${wine[@]}" reg query "$key" >/dev/null 2>&1; then fail "the uninstall left $key"; fi
done
"${wine[@]}" reg query "$neighbour_key" >/dev/null 2>&1 || fail "the uninstall removed another program's verb"
if "${wine[@]}" reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall left the Add/Remove Programs entry"
fi
[ -f "$log_file" ] || fail "the uninstall removed the log $log_file"
[ "$(sha256sum <"$log_file")" = "$log_before" ] || fail "the uninstall changed the log $log_file"
[ "$(user_path)" = "REG_EXPAND_SZ    $user_entries" ] || fail "the uninstall left the user's Path as '$(user_path)'"

# --- A Path that names the folder already, in the user's spelling: the install adds nothing, and
# the uninstall takes nothing of the user's, not even an entry of the text an install would add.
own_entries='%LOCALAPPDATA%\programs\KESTREL WIPEWELL\;C:\Tools'
set_user_path "$own_entries"
"${wine[@]}" "$work/first/$setup_name" /S || fail "the install over the user's own entry ended with code $?"
[ "$(user_path)" = "REG_EXPAND_SZ    $own_entries" ] || fail "the install added to a Path that names its folder: '$(user_path)'"
set_user_path "$own_entries;$install_folder"
uninstall || fail "the second silent uninstall ended with code $?"
[ "$(user_path)" = "REG_EXPAND_SZ    $own_entries;$install_folder" ] ||
    fail "the uninstall took an entry of the user's Path: '$(user_path)'"
installed=0
echo "package: zip, installer, installed program and uninstall all as expected"
