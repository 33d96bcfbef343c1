"""What a screen reader finds in the program, through AT-SPI.

  atspi_probe.py tree PROGRAM   the window's tree once it is up; checks it
  atspi_probe.py alerts CHILD   the text the wait windows announce
Exits 1 naming what is wrong."""
import subprocess, sys, threading, time
import pyatspi
from gi.repository import GLib

mode, program = sys.argv[1], sys.argv[2]
heard, lines, problems, found = [], [], [], []
child = None


def walk(node, depth):
    found.append((depth, node.getRoleName(), node.name))
    lines.append("  " * depth + f"{node.getRoleName()} {node.name!r}"
                 + (f" ({node.description})" if node.description else ""))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1)


def frame():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "vantric":
            for i in range(app.childCount):
                if app.getChildAtIndex(i).name == " Vantric":
                    return app
    return None


def finish():
    if mode == "tree":
        app = frame()
        if not app:
            problems.append('no window " Vantric" in the AT-SPI tree')
        else:
            walk(app, 0)
            for role, name in [("frame", " Vantric"), ("push button", "One size smaller"),
                               ("push button", "One size larger"), ("list", "Drives"), ("list", "Results log"),
                               ("label", "Test size: 1M"), ("label", "Write rate, MB/s"), ("label", "Write time"),
                               ("label", "Read rate, MB/s"), ("label", "Read time")]:
                if not any(f[1:] == (role, name) for f in found):
                    problems.append(f"no {role} {name!r}")
            # The shown controls only: no storage text box or label.
            controls = [f for f in found if f[0] == 2]
            if len(controls) != 13 or any(f[1] == "text" or f[2] == "Label2" for f in controls):
                problems.append(f"the frame holds {len(controls)} controls, not the 13 it shows")
    else:
        for message in ["Please Wait Checking Your Drives", "Please Wait Writing To Disk",
                        "Please Wait Reading From Disk"]:
            if message not in heard:
                problems.append(f'"{message}" was not announced')
    pyatspi.Registry.stop()


def on_text(event):
    heard.append(str(event.any_data))


def start():
    global child
    child = subprocess.Popen([program], stdout=subprocess.DEVNULL)
    return False


def wait_then_finish():
    for _ in range(100):
        time.sleep(0.2)
        if (mode == "tree" and frame()) or (mode == "alerts" and child and child.poll() is not None):
            break
    time.sleep(0.5)
    GLib.idle_add(lambda: finish() and False)


pyatspi.Registry.registerEventListener(on_text, "object:text-changed:insert")
GLib.timeout_add(500, start)
threading.Thread(target=wait_then_finish, daemon=True).start()
pyatspi.Registry.start()
if child:
    child.kill()
print("\n".join(lines + heard))
for p in problems:
    print("FAIL:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
