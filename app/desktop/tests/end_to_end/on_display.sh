#!/usr/bin/env bash
# Runs zelo32 with the given arguments on the display it is started on and
# returns its status, ending it when it runs too long. With SCREENSHOT set,
# once the download shows, opens the Polling Data Window from the window
# menu and saves the screen there.
set -uo pipefail
: "${ZELO32:?}" "${RUN_LIMIT_SECONDS:=100}"
"$ZELO32" "$@" &
pid=$!
if [[ -n "${SCREENSHOT:-}" ]]; then
    sleep 6
    # The window menu sits fourth in the menu bar; its first submenu holds
    # the Polling Data Window's items, the second the Message Window's, each
    # "クリア", "隠す", "表示". No window manager runs, so the main window
    # stands at the top left of the screen, and the window shown last lies
    # on top: "表示" brings a window forward.
    menu_item() {  # submenu-y item-y
        xdotool mousemove 210 10 click 1
        sleep 0.5
        xdotool mousemove 240 "$1"
        sleep 0.5
        xdotool mousemove 380 "$1" mousemove 400 "$2" click 1
        sleep 0.5
    }
    menu_item 35 84    # data window > show
    menu_item 60 108   # message window > show
    xdotool mousemove 700 300
    sleep 0.5
    import -window root "$SCREENSHOT"
fi
for _ in $(seq $((RUN_LIMIT_SECONDS * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "zelo32 still ran after ${RUN_LIMIT_SECONDS}s" >&2
    kill -TERM "$pid"
fi
wait "$pid"
