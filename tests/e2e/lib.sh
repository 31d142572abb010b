# The e2e library, shared by the e2e tests, scripts/run and scripts/bench: the
# tool under Wine in an Xvfb display, inside the prefix's virtual desktop,
# operated from outside by the driver. Sourcing it only defines; a test
# begins with
#   . "$(dirname "$0")/lib.sh" && e2e_begin "$@"      (CONFIG_EXE DRIVER_EXE)
# Its parts, one concern each:
#   env.sh     the work folder and the test's cleanup (defer), the display,
#              the prefix and its Wine session, the desktop, key presses
#   tool.sh    the tool's life, and the driver that operates it
#   dialog.sh  the dialog as a player uses it: clicks, the key assignment,
#              the report box, shots of the screen
#   record.sh  setup.dat: the default record, bytes read and written
#   report.sh  the report's two forms, line by line
for part in env tool dialog record report; do
    . "$(dirname "${BASH_SOURCE[0]}")/$part.sh"
done
