"""Reads and drives recibo through AT-SPI, the way a screen reader does, and
checks the focus ring on the screen. Run by test_atspi.sh inside a session
bus with a display:  atspi_check.py PATH/TO/recibo PATH/TO/at-spi-bus-launcher

What it checks:
- names: every control that takes the focus is announced by a name; the
  option buttons are radio buttons with their checked state, the toggles and
  check boxes stay check boxes; rules and pictures have no name;
- the slip after "Hs. N. Medio", 12 hours, "Calcular": row by row, every
  amount named with its row, each total right after its caption;
- the focus ring: a button focused by Tab and the same button unfocused,
  compared pixel by pixel, differ by a ring at least 2 pixels wide all round
  with a contrast of at least 3:1; a click that moves the focus shows none.
"""

import os
import subprocess
import sys
import time

import pyatspi

PROGRAM, LAUNCHER = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def wait_for(find, what, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if program is not None and program.poll() is not None:
            raise SystemExit("FAIL " + what + ": the program ended with status %d" % program.returncode)
        found = find()
        if found:
            return found
        time.sleep(0.1)
    raise SystemExit("FAIL " + what + ": not found in %d s" % seconds)


# --- The tree ---------------------------------------------------------------

def children(node):
    node.clear_cache()
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def walk(node):
    yield node
    for child in children(node):
        if child is not None:
            yield from walk(child)


def has(node, state):
    node.clear_cache()  # the state as it is now, not as last heard
    return node.getState().contains(state)


def settle(condition, seconds=10):
    """Waits until the condition holds, then a moment more for the screen to
    be painted. False if it never held."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            time.sleep(0.4)
            return True
        time.sleep(0.05)
    return False


def find(root, name, role=None):
    for node in walk(root):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app is not None and app.name == "recibo":
            return app
    return None


def window(app, title):
    for node in children(app):
        if node is not None and node.name == title and has(node, pyatspi.STATE_SHOWING):
            return node
    return None


def act(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(names.index(action))


# --- The screen -------------------------------------------------------------

class Screenshot:
    """The whole screen as it is now; at(x, y) is the (r, g, b) of a pixel."""

    def __init__(self):
        geometry = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True, check=True)
        self.width = int(geometry.stdout.split()[0])
        self.raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                                  capture_output=True, check=True).stdout

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.raw[i:i + 3])


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = map(linear, rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def ring_depths(focused, unfocused, box):
    """For every pixel along the four edges of the box (corners left out), how
    deep, from the edge inwards, the run of pixels reaches that changed
    between the two pictures with a contrast of at least 3:1. The run may
    start one pixel inside the edge."""
    x0, y0, w, h = box

    def depth(points):
        run, started = 0, False
        for i, (x, y) in enumerate(points):
            strong = contrast(focused.at(x, y), unfocused.at(x, y)) >= 3
            if strong:
                run, started = run + 1, True
            elif started or i > 1:
                break
        return run

    depths = []
    reach = min(w, h) // 2
    for x in range(x0 + 4, x0 + w - 4):
        depths.append(depth([(x, y0 + d) for d in range(reach)]))
        depths.append(depth([(x, y0 + h - 1 - d) for d in range(reach)]))
    for y in range(y0 + 4, y0 + h - 4):
        depths.append(depth([(x0 + d, y) for d in range(reach)]))
        depths.append(depth([(x0 + w - 1 - d, y) for d in range(reach)]))
    return depths


def focused_child(root):
    return next((node for node in children(root) if node is not None and has(node, pyatspi.STATE_FOCUSED)), None)


def x_window(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                           capture_output=True, text=True).stdout.split()
    return found[0] if found else None


def tab(root):
    """Presses Tab and waits until the focus has moved among root's children."""
    before = focused_child(root)
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    settle(lambda: focused_child(root) != before)


# --- The run ----------------------------------------------------------------

def bus_up():
    """Whether the accessibility bus's launcher has taken its name on the session bus."""
    answer = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                            capture_output=True, text=True)
    return "boolean true" in answer.stdout


launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"])
program = None
wait_for(bus_up, "the accessibility bus")
program = subprocess.Popen([PROGRAM])
try:
    app = wait_for(application, "the program on the accessibility bus")
    entry = wait_for(lambda: window(app, "Ingreso de datos"), "the entry window")

    # Roles and states of the entry window.
    options = ["Cargo", "Hs. N. Medio", "Hs. N. Superior", "Menos de 1 año", "Entre 1 y 2 años", "Entre 2 y 5 años",
               "Entre 5 y 7 años", "Entre 7 y 10 años", "Entre 10 y 12 años", "Entre 12 y 15 años",
               "Entre 15 y 17 años", "Entre 17 y 20 años", "Entre 20 y 22 años", "Entre 22 y 24 años",
               "Más de 24 años"]
    radios = [node for node in walk(entry) if node.getRole() == pyatspi.ROLE_RADIO_BUTTON]
    check([node.name for node in radios] == options, "the 15 options are radio buttons, in order")
    check(not any(has(node, pyatspi.STATE_CHECKED) for node in radios), "no option starts checked")
    boxes = [node.name for node in walk(entry) if node.getRole() == pyatspi.ROLE_CHECK_BOX]
    check(boxes == ["Incentivo", "Transporte", "Inasistencias Just", "Hijos", "Hijos Diferenc", "Conyuge", "IOSPER",
                    "OSPLAD", "VESNAR", "Aporte jubilatorio", "Caja compensadora", "Ley 4035", "Seguro (3011)"],
          "toggles and check boxes stay check boxes")
    check(has(find(entry, "Incentivo", pyatspi.ROLE_CHECK_BOX), pyatspi.STATE_CHECKED), "Incentivo starts checked")
    zone = find(entry, "Ubicación Escuela (Zona)", pyatspi.ROLE_COMBO_BOX)
    check(zone is not None and any(c.getRole() == pyatspi.ROLE_TEXT and c.name == "Ubicación Escuela (Zona)"
                                   for c in children(zone)), "the zone's edit field is named")

    # The selection dialog, opened by the option "Cargo" and left again.
    act(find(entry, "Cargo", pyatspi.ROLE_RADIO_BUTTON), "Press")
    dialog = wait_for(lambda: window(app, "Selección de cargo"), "the selection dialog")
    check(has(find(entry, "Cargo", pyatspi.ROLE_RADIO_BUTTON), pyatspi.STATE_CHECKED), "Cargo is announced checked")
    for name in ["Código del cargo", "Puntos básicos", "Comp básico", "Cargo", "Listo", "Salir sin datos"]:
        check(find(dialog, name) is not None, "the dialog names " + name)
    act(find(dialog, "Salir sin datos", pyatspi.ROLE_PUSH_BUTTON), "Press")
    wait_for(lambda: window(app, "Selección de cargo") is None, "the dialog closed")

    # "Hs. N. Medio", 12 hours, "Calcular", all from the accessibility bus.
    medio = find(entry, "Hs. N. Medio", pyatspi.ROLE_RADIO_BUTTON)
    act(medio, "Press")
    check(has(medio, pyatspi.STATE_CHECKED) and not has(find(entry, "Cargo"), pyatspi.STATE_CHECKED),
          "choosing Hs. N. Medio is announced, Cargo is no longer checked")
    hours = wait_for(lambda: next((n for n in walk(entry) if n.name == "Número de horas N. Medio"
                                   and n.getRole() == pyatspi.ROLE_TEXT and has(n, pyatspi.STATE_SHOWING)), None),
                     "the hours box")
    hours.queryEditableText().setTextContents("12")
    act(find(entry, "Calcular", pyatspi.ROLE_PUSH_BUTTON), "Press")
    slip = wait_for(lambda: window(app, "Haberes"), "the slip window")
    frame = find(slip, "Recibo de haberes", pyatspi.ROLE_PANEL)
    heard = [node.name for node in children(frame)
             if has(node, pyatspi.STATE_SHOWING) and node.getRole() != pyatspi.ROLE_SEPARATOR]
    expected = ["Recibo de sueldos de:", "",
                "001", "12", "Hs. N. Medio", "Hs. N. Medio: $489,132",
                "006", "0", "Adic. Art 2 y 3 Dcrto 5863/05", "Adic. Art 2 y 3 Dcrto 5863/05: $ 0",
                "014", "0,7", "Product Dcrto 5863/05", "Product Dcrto 5863/05: $ 0",
                "113", "0", "Negro de Nación", "Negro de Nación: $ 0",
                "188", "7.0", "Plus Productividad", "Plus Productividad: $ 34,2392",
                "Total Haberes", "Total Haberes: $ 523,3712",
                "Total descuentos", "Total descuentos: $ 0",
                "Liquido a pagar", "Liquido a pagar: $ 523,3712"]
    check(heard == expected, "the slip reads row by row, each total after its caption:\n     " + " | ".join(heard))
    first = find(frame, "Hs. N. Medio: $489,132")
    check(first is not None and first.description.startswith("12 horas"), "an amount's explanation is its description")
    for name in ["Cantidad de horas", "Puntaje", "Comentario", "Fecha y hora del recibo"]:
        check(find(slip, name, pyatspi.ROLE_TEXT) is not None, "the slip's box is named " + name)

    # Everywhere: whatever takes the focus has a name; decorations have none;
    # nothing is named after the frame it sits in.
    everything = [node for node in walk(app)]
    unnamed = [(node.getRoleName(), node.parent.name) for node in everything
               if has(node, pyatspi.STATE_FOCUSABLE) and not node.name]
    check(not unnamed, "every focusable object has a name " + str(unnamed))
    decorations = [n for n in everything if n.getRole() in (pyatspi.ROLE_SEPARATOR, pyatspi.ROLE_IMAGE)]
    check(len(decorations) == 41 and all(not n.name for n in decorations),
          "%d rules and drawings, none named" % len(decorations))
    check(sum(1 for n in everything if n.name == "Recibo de haberes") == 1, "only the frame is Recibo de haberes")

    # The focus ring, seen on the screen.
    slip_window = x_window("Haberes")
    try:
        subprocess.run(["xdotool", "windowfocus", "--sync", slip_window], check=False, timeout=10)
    except subprocess.TimeoutExpired:
        pass  # with no window manager the window may have had the input focus already
    check(settle(lambda: has(slip, pyatspi.STATE_ACTIVE)), "the slip window is the active one")
    imprimir = find(slip, "Imprimir", pyatspi.ROLE_PUSH_BUTTON)
    for _ in range(20):
        if has(imprimir, pyatspi.STATE_FOCUSED):
            break
        tab(slip)
    check(has(imprimir, pyatspi.STATE_FOCUSED), "Tab reaches Imprimir")
    focused = Screenshot()
    tab(slip)
    check(not has(imprimir, pyatspi.STATE_FOCUSED), "Tab leaves Imprimir")
    unfocused = Screenshot()
    box = extents(imprimir)
    depths = ring_depths(focused, unfocused, box)
    check(min(depths) >= 2, "a ring of at least 2 px at 3:1 or more all round Imprimir (thinnest %d px, %d edge "
          "pixels)" % (min(depths), len(depths)))
    # A click moving the focus shows no ring: the comment box only takes a click.
    comment = find(slip, "Comentario", pyatspi.ROLE_TEXT)
    before = Screenshot()
    x, y, w, h = extents(comment)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"], check=True)
    check(settle(lambda: has(comment, pyatspi.STATE_FOCUSED)), "a click puts the focus in the comment box")
    after = Screenshot()
    depths = ring_depths(after, before, (x, y, w, h))
    check(max(depths) < 2, "no ring after a click (deepest change at 3:1: %d px)" % max(depths))
finally:
    program.kill()
    program.wait()
    # Asked to stop, the launcher takes its accessibility bus down with it.
    launcher.terminate()
    launcher.wait(timeout=10)

print("%d failed" % len(failures) if failures else "all checks passed")
sys.exit(1 if failures else 0)
