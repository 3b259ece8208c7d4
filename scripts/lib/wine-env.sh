# Sourced by the scripts that run the program: a private Xvfb, a Wine prefix under build/
# that nothing of the user's own touches, and one wineserver kept alive for the whole run.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$here/build"
export WINEPREFIX="$build/wineprefix"
# A copy of the prefix without DirectShow's MP4 demuxer, as on a stock Windows: MCI no longer
# opens .mp4, .m4v, .3gp or .mov there, while Media Foundation still does. The clip tests
# that need it name it themselves (tests/CMakeLists.txt).
stock_prefix="$build/wineprefix-stock"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads .asoundrc from HOME: a null sound device lets audio-only clips open.
export HOME="$build/winehome"
unset WAYLAND_DISPLAY
xvfb_pid=""

# The screen's geometry, then any other options of Xvfb.
start_private_display() {
  local geometry="${1:-1024x768x24}" fifo n=""
  shift || true
  # Xvfb picks a free display number itself and tells it through -displayfd.
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

wine_reg() { wine reg add "$@" /f >/dev/null 2>&1; }

ensure_prefix() {
  mkdir -p "$HOME"
  [ -f "$HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  # A prefix made before Wine's own fonts were installed has no "MS Sans Serif": the
  # marker's number changes when the prefix must be made anew.
  if [ ! -f "$WINEPREFIX/.vistamur-ready-4" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # The registry names Wine's own fonts ("MS Sans Serif", Tahoma ...) in the Windows
    # fonts folder, but this Wine neither looks for them where the package puts them nor
    # copies them there: without them the dialog's fixed layout gets wider substitutes.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    wine_reg 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N
    wine_reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    wine_reg 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi
    # A crashing program ends at once instead of waiting in the debugger.
    wine_reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d "false"
    wine_reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1
    wineserver -w
    touch "$WINEPREFIX/.vistamur-ready-4"
  fi
}

# Wine's own DirectShow parser (decodebin over GStreamer): its entry among the DirectShow
# filters, then its class. Without them DirectShow has no MP4 splitter.
stock_removed_keys=(
  'HKCR\CLSID\{083863F1-70DE-11D0-BD40-00A0C911CE86}\Instance\{F9D8D64E-A144-47DC-8EE0-F53498372C29}'
  'HKCR\CLSID\{F9D8D64E-A144-47DC-8EE0-F53498372C29}'
)

# Made from the ready prefix while no wineserver runs on it; made anew when that one is.
ensure_stock_prefix() {
  local marker="$stock_prefix/.vistamur-stock-1" key
  if [ -f "$marker" ] && [ "$marker" -nt "$WINEPREFIX/.vistamur-ready-4" ]; then return 0; fi
  wineserver -w
  rm -rf "$stock_prefix"
  # Linked rather than copied (600 MB): the wineserver saves the registry files as new files,
  # and they are copied here anyway; what the tests write there are files of their own.
  cp -al "$WINEPREFIX" "$stock_prefix"
  for key in system.reg user.reg userdef.reg; do
    rm -f "$stock_prefix/$key"
    cp -p "$WINEPREFIX/$key" "$stock_prefix/$key"
  done
  for key in "${stock_removed_keys[@]}"; do
    WINEPREFIX="$stock_prefix" wine reg delete "$key" /f >/dev/null 2>&1 || true
  done
  WINEPREFIX="$stock_prefix" wineserver -w
  touch "$marker"
}

# The monitors of the private display, each as NAME=WxH+X+Y, the first the primary one (the
# display must have been started with -noreset, or it forgets them when xrandr leaves); then
# the prefix's Wine server starts afresh, since Wine reads the monitors when its server starts.
set_monitors() {
  local m first=1 name geometry w h
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  for m in $(xrandr --listmonitors | awk 'NR > 1 { print $2 }' | tr -d '+*'); do
    xrandr --delmonitor "$m" >/dev/null 2>&1 || true
  done
  for m in "$@"; do
    name="${m%%=*}" geometry="${m#*=}"
    w="${geometry%%x*}" h="${geometry#*x}" h="${h%%+*}"
    # Sizes in millimetres at about 96 dpi.
    xrandr --setmonitor "$name" "$w/$((w * 254 / 960))x$h/$((h * 254 / 960))+${geometry#*+}" \
      "$([ $first = 1 ] && echo screen || echo none)" >/dev/null || return 1
    first=0
  done
  start_wineserver
}

start_wineserver() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true # warms the server and the prefix
  if [ -d "$stock_prefix" ]; then
    WINEPREFIX="$stock_prefix" wineserver -p
    WINEPREFIX="$stock_prefix" wine cmd /c exit >/dev/null 2>&1 || true
  fi
}

stop_wine_env() {
  wineserver -k >/dev/null 2>&1 || true
  [ -d "$stock_prefix" ] && WINEPREFIX="$stock_prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
