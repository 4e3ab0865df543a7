# Sourced by ./test: start_printer runs a private CUPS server for this work tree (its own
# configuration, spool and socket under build/win32/cups) with two PDF queues, PDF the
# default printer, and exports CUPS_SERVER so that Wine's printing sees it; stop_printer ends it.
# The print and page-setup dialog tests need a real printer there.
start_printer() {
  command -v cupsd >/dev/null && [ -d /usr/share/ppd/cups-pdf ] || { echo "printer: cups or cups-pdf missing" >&2; return 0; }
  local d="$PWD/build/win32/cups"
  rm -rf "$d"
  mkdir -p "$d/etc/ppd" "$d/spool/tmp" "$d/cache" "$d/state" "$d/log" "$d/pdf"
  cat > "$d/etc/cups-files.conf" <<CONF
ServerRoot $d/etc
RequestRoot $d/spool
TempDir $d/spool/tmp
CacheDir $d/cache
StateDir $d/state
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
Sandboxing Relaxed
CONF
  cat > "$d/etc/cupsd.conf" <<CONF
Listen $d/cups.sock
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  chmod -R a+rX "$d"
  cupsd -f -c "$d/etc/cupsd.conf" -s "$d/etc/cups-files.conf" >/dev/null 2>&1 </dev/null &
  CUPSD_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -S "$d/cups.sock" ] && break
    sleep 0.05
  done
  export CUPS_SERVER="$d/cups.sock"
  lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1 </dev/null
  # a second queue, so that choosing a printer other than the default can be tested
  lpadmin -p PDF2 -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >/dev/null 2>&1 </dev/null
  lpadmin -d PDF >/dev/null 2>&1 </dev/null
}
stop_printer() {
  [ -n "${CUPSD_PID:-}" ] && kill "$CUPSD_PID" 2>/dev/null && wait "$CUPSD_PID" 2>/dev/null
  CUPSD_PID=
}
