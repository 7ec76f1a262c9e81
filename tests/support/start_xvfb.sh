# Sourced by the tests that run the game under Xvfb.

# The start screen's title in either language, for xdotool search --name.
start_screen_title='^Pellox .*(version|версия) '

# start_xvfb_test: makes the test's own folder ($work), starts Xvfb (1280 x
# 800) on a display number of its own choosing, told through a file there,
# and exports DISPLAY, or fails the test. At exit the game ($game_pid, when
# the test has set it) and Xvfb are ended and the folder removed.
start_xvfb_test() {
  work=$(mktemp -d)
  xvfb_pid=
  game_pid=
  trap end_xvfb_test EXIT
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
}

end_xvfb_test() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
