# Sourced by the scripts that run the real programs: installs Wine and
# Xvfb when missing, makes a throwaway 64-bit Wine prefix on a headless X
# server, with the Windows fonts the main window asks for mapped to the
# Debian fonts the simulated machine draws with; on exit it ends the Wine
# server and the X server it started and removes the prefix.
#
# Where this machine runs 32-bit programs, the prefix runs them beside the
# 64-bit ones (WOW64, as 64-bit Windows does), and brisvane_exe is the
# shipping 32-bit Brisvane.exe; elsewhere it is the 64-bit build of the same
# code, and one line says why.
./scripts/install-deps.sh wine
wine_32bit_refusal=""
if ./scripts/can-run-32bit.sh; then
  ./scripts/install-deps.sh wine32
else
  wine_32bit_refusal="this machine does not run 32-bit x86 programs"
fi

wine_work=$(mktemp -d)
export WINEPREFIX="$wine_work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$wine_work/xvfb.log" 2>&1 &
xvfb=$!
wine_cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$wine_work"
}
trap wine_cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
/usr/lib/wine/wine64 wineboot -i >"$wine_work/wineboot.log" 2>&1 || true
/usr/lib/wine/wineserver -w
# A fresh prefix has no Arial or Microsoft YaHei: without a mapping Wine
# picks another font by family (a serif one for FF_ROMAN). SimSun is left
# alone: with a replacement for it Wine draws the dialogs' own font with
# that replacement.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"Arial"="Liberation Sans"' \
  '"Microsoft YaHei"="Noto Sans CJK SC"' '"微软雅黑"="Noto Sans CJK SC"' |
  iconv -f UTF-8 -t UTF-16 >"$wine_work/fonts.reg"
/usr/lib/wine/wine64 regedit /S "$wine_work/fonts.reg" >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w

# The prefix runs 32-bit programs when its 32-bit command interpreter
# answers with the exit status it was given.
if [ -z "$wine_32bit_refusal" ]; then
  status=0
  /usr/lib/wine/wine64 'C:\windows\syswow64\cmd.exe' /c exit 7 >/dev/null 2>&1 || status=$?
  [ "$status" -eq 7 ] ||
    wine_32bit_refusal="32-bit Wine does not run a 32-bit program here (exit status $status)"
fi
if [ -z "$wine_32bit_refusal" ]; then
  brisvane_exe=build/windows-i686/installer/Brisvane.exe
  echo "Wine runs the shipping 32-bit $brisvane_exe (under WOW64)" >&2
else
  brisvane_exe=build/windows-x86_64/installer/Brisvane.exe
  echo "Wine runs the 64-bit $brisvane_exe in place of the shipping 32-bit one:" \
    "$wine_32bit_refusal" >&2
fi
