# Sourced by the scripts that run the real programs: installs Wine and
# Xvfb when missing, makes a throwaway 64-bit Wine prefix on a headless X
# server, with the Windows fonts the main window asks for mapped to the
# Debian fonts the simulated machine draws with; on exit it ends the Wine
# server and the X server it started and removes the prefix.
./scripts/install-deps.sh wine

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
