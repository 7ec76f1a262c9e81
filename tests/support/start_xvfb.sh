# Sourced by the tests that run the game under Xvfb.

# The start screen's title in either language, for xdotool search --name.
start_screen_title='^Pellox .*(version|версия) '

# start_xvfb WORK: starts Xvfb (1280 x 800) on a display number of its own
# choosing, told through a file in the folder WORK; sets xvfb_pid and
# exports DISPLAY, or fails the test.
start_xvfb() {
  local work=$1
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
}
