#!/usr/bin/env bash
# qtractor-session.sh SCORCHWIRE.clap [OUTDIR]
# Scorchwire in a real DAW, headless: Xvfb, jackd on its dummy driver and Debian's Qtractor with a
# one-track session whose plug-in chain holds Scorchwire. The plug-in item is double-clicked so that
# Qtractor opens the plug-in's window, the window is captured, and Qtractor is shut down.
# Passes when Qtractor loads the session with the plug-in, survives opening its window, and, when
# Qtractor embeds the editor, the window shows its main view and the editor is torn down
# cleanly at shutdown. Qtractor 0.9.31 itself may crash while exiting; that is not held against us.
# OUTDIR keeps the session, logs and screenshots (a temporary folder, removed, when not given).
set -u
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
   echo "usage: $0 SCORCHWIRE.clap [OUTDIR]" >&2
   exit 2
fi
CLAP=$(readlink -f "$1")
if [ $# -ge 2 ]; then
   OUT=$2
   mkdir -p "$OUT"
   OUT=$(readlink -f "$OUT")
else
   OUT=$(mktemp -d -t scorchwire-qtractor.XXXXXX)
   REMOVE_OUT=1
fi

for tool in /usr/bin/qtractor /usr/bin/Xvfb /usr/bin/jackd /usr/bin/import /usr/bin/convert /usr/bin/xdotool; do
   [ -x "$tool" ] || { echo "$tool is missing (scripts/setup installs it)"; exit 1; }
done

# Qtractor's engine needs an ALSA sequencer; without /dev/snd/seq a small preloaded stand-in answers the
# sequencer calls.
PRELOAD=
if [ ! -e /dev/snd/seq ]; then
   cat >"$OUT/fakeseq.c" <<'CEOF'
#include <alsa/asoundlib.h>
#include <errno.h>
#include <poll.h>
#include <string.h>
#include <unistd.h>
static int fds[2] = {-1, -1};
static char handle[64];
static int nport;
int snd_seq_open(snd_seq_t **s, const char *n, int st, int m) { if (fds[0] < 0 && pipe(fds)) return -errno; *s = (snd_seq_t *)handle; return 0; }
int snd_seq_close(snd_seq_t *s) { return 0; }
int snd_seq_client_id(snd_seq_t *s) { return 128; }
int snd_seq_set_client_name(snd_seq_t *s, const char *n) { return 0; }
int snd_seq_alloc_queue(snd_seq_t *s) { return 0; }
int snd_seq_free_queue(snd_seq_t *s, int q) { return 0; }
int snd_seq_create_simple_port(snd_seq_t *s, const char *n, unsigned int c, unsigned int t) { return nport++; }
int snd_seq_delete_simple_port(snd_seq_t *s, int p) { return 0; }
int snd_seq_poll_descriptors_count(snd_seq_t *s, short e) { return 1; }
int snd_seq_poll_descriptors(snd_seq_t *s, struct pollfd *p, unsigned int n, short e) { if (!n) return 0; p->fd = fds[0]; p->events = POLLIN; p->revents = 0; return 1; }
int snd_seq_event_input(snd_seq_t *s, snd_seq_event_t **e) { return -EAGAIN; }
int snd_seq_event_input_pending(snd_seq_t *s, int f) { return 0; }
int snd_seq_event_output(snd_seq_t *s, snd_seq_event_t *e) { return 0; }
int snd_seq_event_output_direct(snd_seq_t *s, snd_seq_event_t *e) { return 0; }
int snd_seq_drain_output(snd_seq_t *s) { return 0; }
int snd_seq_drop_input(snd_seq_t *s) { return 0; }
int snd_seq_drop_output(snd_seq_t *s) { return 0; }
int snd_seq_control_queue(snd_seq_t *s, int q, int t, int v, snd_seq_event_t *e) { return 0; }
int snd_seq_get_queue_status(snd_seq_t *s, int q, snd_seq_queue_status_t *x) { memset(x, 0, snd_seq_queue_status_sizeof()); return 0; }
int snd_seq_get_queue_tempo(snd_seq_t *s, int q, snd_seq_queue_tempo_t *x) { memset(x, 0, snd_seq_queue_tempo_sizeof()); return 0; }
int snd_seq_set_queue_tempo(snd_seq_t *s, int q, snd_seq_queue_tempo_t *x) { return 0; }
int snd_seq_set_queue_timer(snd_seq_t *s, int q, snd_seq_queue_timer_t *x) { return 0; }
int snd_seq_get_any_client_info(snd_seq_t *s, int c, snd_seq_client_info_t *i) { return -ENOENT; }
int snd_seq_get_any_port_info(snd_seq_t *s, int c, int p, snd_seq_port_info_t *i) { return -ENOENT; }
int snd_seq_get_port_info(snd_seq_t *s, int p, snd_seq_port_info_t *i) { return -ENOENT; }
int snd_seq_set_port_info(snd_seq_t *s, int p, snd_seq_port_info_t *i) { return 0; }
int snd_seq_query_next_client(snd_seq_t *s, snd_seq_client_info_t *i) { return -ENOENT; }
int snd_seq_query_next_port(snd_seq_t *s, snd_seq_port_info_t *i) { return -ENOENT; }
int snd_seq_query_port_subscribers(snd_seq_t *s, snd_seq_query_subscribe_t *q) { return -ENOENT; }
int snd_seq_subscribe_port(snd_seq_t *s, snd_seq_port_subscribe_t *p) { return 0; }
int snd_seq_unsubscribe_port(snd_seq_t *s, snd_seq_port_subscribe_t *p) { return 0; }
int snd_seq_remove_events(snd_seq_t *s, snd_seq_remove_events_t *r) { return 0; }
int snd_seq_free_event(snd_seq_event_t *e) { return 0; }
CEOF
   gcc -shared -fPIC -O1 -o "$OUT/fakeseq.so" "$OUT/fakeseq.c" || { echo "cannot build the sequencer stand-in"; exit 1; }
   PRELOAD=$OUT/fakeseq.so
fi

# Qtractor finds the plug-in by file and descriptor index (Scorchwire has one descriptor).
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<<"$1"; }
cat >"$OUT/session.qtr" <<XEOF
<!DOCTYPE qtractorSession>
<session name="scorchwire" version="0.9.31">
 <properties><directory>$(xml "$OUT")</directory><sample-rate>48000</sample-rate><tempo>120</tempo>
  <ticks-per-beat>960</ticks-per-beat><beats-per-bar>4</beats-per-bar><beat-divisor>2</beat-divisor></properties>
 <tracks>
  <track name="Audio 1" type="audio">
   <properties><input-bus>Master</input-bus><output-bus>Master</output-bus></properties>
   <state><mute>0</mute><solo>0</solo><record>0</record><monitor>1</monitor><gain>1</gain><panning>0</panning></state>
   <plugins>
    <plugin type="CLAP">
     <filename>$(xml "$CLAP")</filename><index>0</index><label>com.tonequarry.scorchwire</label>
     <preset></preset><direct-access-param>-1</direct-access-param><activated>1</activated>
     <configs/><params/>
    </plugin>
   </plugins>
  </track>
 </tracks>
</session>
XEOF
mkdir -p "$OUT/cfg/rncbc.org" "$OUT/home"
printf '[Options]\nDisplay\\StdoutCapture=false\nLogging\\MessagesLog=true\nLogging\\MessagesLogPath=%s\n' \
   "$OUT/messages.log" >"$OUT/cfg/rncbc.org/Qtractor.conf"

PIDS=()
stopAll() { # each process gets up to 10 s to end after SIGTERM
   for p in "${PIDS[@]}"; do
      kill "$p" 2>/dev/null
      for _ in $(seq 20); do kill -0 "$p" 2>/dev/null || break; sleep 0.5; done
      kill -9 "$p" 2>/dev/null
   done
   PIDS=()
}
finish() {
   stopAll
   [ -n "${REMOVE_OUT:-}" ] && rm -rf "$OUT"
}
trap finish EXIT

exec 3>"$OUT/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$OUT/xvfb.log" 2>&1 &
PIDS+=($!)
exec 3>&-
for _ in $(seq 50); do [ -s "$OUT/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$OUT/display")
JACK=scorchwire$$
jackd --no-realtime -n "$JACK" -d dummy -r 48000 -p 1024 >"$OUT/jackd.log" 2>&1 &
PIDS+=($!)
sleep 2
HOME=$OUT/home JACK_DEFAULT_SERVER=$JACK JACK_NO_START_SERVER=1 XDG_CONFIG_HOME=$OUT/cfg LD_PRELOAD=$PRELOAD \
   qtractor "$OUT/session.qtr" >"$OUT/qtractor.log" 2>&1 &
QTRACTOR=$!
PIDS=($QTRACTOR "${PIDS[@]}")

FAIL=
MAIN=
for _ in $(seq 60); do
   MAIN=$(xdotool search --name 'session\.qtr' 2>/dev/null | head -1)
   [ -n "$MAIN" ] && break
   sleep 0.5
done
sleep 4
[ -n "$MAIN" ] || FAIL="$FAIL no-main-window"
grep -q 'Constructing Scorchwire' "$OUT/qtractor.log" || FAIL="$FAIL plug-in-not-loaded"
grep -qi 'plugin not found\|engine could not be started' "$OUT/messages.log" 2>/dev/null && FAIL="$FAIL session-not-started"

# Double-clicking the plug-in item of the track opens the plug-in's window.
WINDOW=
if [ -n "$MAIN" ] && kill -0 $QTRACTOR 2>/dev/null; then
   eval "$(xdotool getwindowgeometry --shell "$MAIN")"
   for dy in 179 185 173 191; do
      xdotool mousemove $((X + 182)) $((Y + dy)) click --repeat 2 --delay 120 1
      for _ in $(seq 10); do
         WINDOW=$(xdotool search --name "Scorchwire - Audio 1" 2>/dev/null | head -1)
         [ -n "$WINDOW" ] && break 2
         sleep 0.5
      done
   done
   sleep 3
fi
/usr/bin/import -window root "$OUT/qtractor.png" 2>/dev/null
[ -n "$WINDOW" ] || FAIL="$FAIL no-plug-in-window"
TITLE=$( [ -n "$WINDOW" ] && xdotool getwindowname "$WINDOW" 2>/dev/null)
kill -0 $QTRACTOR 2>/dev/null || FAIL="$FAIL qtractor-died"

EMBEDDED=no
if grep -q '(guiCreate)' "$OUT/qtractor.log"; then
   EMBEDDED=yes
   /usr/bin/import -window "$WINDOW" "$OUT/editor.png" 2>/dev/null
   # The main view: the bundle's background picture over most of the window (the controls cover
   # about a tenth of it) and the theme colour on the knob arcs and the scope's line.
   BACKGROUND="$(dirname "$CLAP")/../Resources/background.png"
   differing=$(compare -metric AE -fuzz 3% "$OUT/editor.png" "$BACKGROUND" null: 2>&1)
   [ "${differing:-999999}" -le $((800 * 494 / 4)) ] 2>/dev/null || FAIL="$FAIL editor-not-drawn(${differing:-?}px-differ)"
   themed=$(convert "$OUT/editor.png" -fuzz 8% -fill black +opaque "rgb(190,150,30)" -fill white -opaque "rgb(190,150,30)" \
      -format "%[fx:round(mean*w*h)]" info: 2>/dev/null)
   [ "${themed:-0}" -ge 720 ] || FAIL="$FAIL no-theme-colour(${themed:-0}px)"
fi
grep -q 'Could not determine bundle location' "$OUT/qtractor.log" && FAIL="$FAIL no-bundle"

LINES=$(wc -l <"$OUT/qtractor.log")
kill $QTRACTOR 2>/dev/null
for _ in $(seq 20); do kill -0 $QTRACTOR 2>/dev/null || break; sleep 0.5; done
kill -9 $QTRACTOR 2>/dev/null
wait $QTRACTOR 2>/dev/null
STATUS=$?
stopAll
if [ $EMBEDDED = yes ]; then
   grep -q '(~ScorchwireEditor)' "$OUT/qtractor.log" || FAIL="$FAIL editor-not-torn-down"
fi

echo "Qtractor session with $CLAP (editor embedded: $EMBEDDED; Qtractor's exit status: $STATUS)"
echo "-- plug-in window: ${TITLE:-none}"
echo "-- messages:"
sed 's/^/   /' "$OUT/messages.log" 2>/dev/null | tail -n 10
echo "-- Qtractor's and the plug-in's output:"
sed 's/^/   /' "$OUT/qtractor.log" | tail -n 40
echo "-- after shutdown began:"
sed -n "$((LINES + 1)),\$p" "$OUT/qtractor.log" | sed 's/^/   /'
if [ -n "$FAIL" ]; then
   echo "qtractor-session: FAIL:$FAIL"
   exit 1
fi
echo "qtractor-session: OK"
echo "$OUT/qtractor.png"
