#!/usr/bin/env python3
"""Plays the real game once under Wine with real pointer and key input.

Title view, a start on the release of the button, the stage banner, a
stage cleared by clicking its moles, the abort question with both answers,
the About box from the system menu (by keyboard and by a click on the
window's icon) and the exit area, which must end the process with exit
code 0 and leave nothing behind.

Needs an X display and a Wine prefix (scripts/run-tests.sh -R e2e_play
provides both). Usage: test_play.py [path of Dunko.exe]
"""
import sys
import time

import dunko_driver as d

TITLE = "Dunko叩き"
# How long the game's thread may go on after a suspension is asked for
# (a spawn pause and a poll), with its last repaint, and some to spare.
SUSPEND_SETTLE = 0.3


def is_title_view(screen, client):
    """The title background fills the client area and the title box shows."""
    box = screen.bbox(d.TITLE_BACKGROUND, client)
    return (box == client and screen.bbox(d.TITLE_BOX, client) is not None
            and screen.bbox(d.FIELD, client) is None)


def is_running_view(screen, client):
    box = screen.bbox(d.FIELD, client)
    return box == client and screen.bbox(d.TITLE_BACKGROUND, client) is None


def status_strip(client):
    """The status line's strip at the top of the client area."""
    return (client[0], client[1], client[2], client[1] + 30)


def body(c, game):
    c.note(f"the game's window appeared {time.monotonic() - game.started:.1f}s after wine started")
    title = game.title()
    c.ok(title == TITLE, "the window's title is Dunko叩き", repr(title))

    client = game.find_client()
    width, height = client[2] - client[0], client[3] - client[1]
    c.ok(500 <= width <= 620 and 430 <= height <= 540, "the title view fills a client area of about 558 x 483",
         f"{width} x {height} at {client[:2]}")
    # With the pointer away from both buttons, both show their frames.
    game.move(game.at((0.5, 0.92)))
    c.ok(is_title_view(game.screen(), client), "the title view shows the title box on the dark background")

    def both_frames():
        shot = game.screen()
        frames = shot.bbox(d.BUTTON_FRAME, client)
        if frames and frames[3] - frames[1] > 100 and shot.bbox(d.HOVER_FILL, client) is None:
            return frames
        return None
    frames = d.wait_for(both_frames, 2)
    c.ok(frames is not None, "the Start and Exit frames are drawn, neither hovered", str(frames))

    # Escape on the title screen does nothing: no question, same view.
    start = game.at(d.START_CENTRE)
    game.move(start)
    hover = d.wait_for(lambda: game.screen().bbox(d.HOVER_FILL, client), 3)
    c.ok(hover is not None and hover[0] <= start[0] < hover[2] and hover[1] <= start[1] < hover[3],
         "the pointer over Start fills it with the hover colour", str(hover))
    windows = set(game.windows())
    game.key("Escape")
    appeared = d.wait_for(lambda: set(game.windows()) - windows, 1.0)
    c.ok(not appeared, "Escape on the title screen opens nothing", str(appeared or ""))
    c.ok(is_title_view(game.screen(), client), "the title view stays after Escape")

    # A press alone does not start; the release does.
    game.press()
    time.sleep(0.5)
    c.ok(is_title_view(game.screen(), client), "pressing the button on Start does not start a game yet")
    game.release()
    clicked = time.monotonic()
    running = d.wait_for(lambda: is_running_view(game.screen(), client), 3)
    c.ok(running, "releasing it on Start shows the running view", f"{time.monotonic() - clicked:.2f}s")
    band = d.wait_for(lambda: game.screen().bbox(d.BAND, client), 2)
    c.ok(band is not None and band[2] - band[0] > width * 0.8, "the stage banner's band shows across the field",
         str(band))

    def stage_started():
        shot = game.screen()
        if shot.bbox(d.BAND, client) is None and shot.bbox(d.STATUS, client) and shot.bbox(d.MOLE_FRAME, client):
            return shot
        return None
    shot = d.wait_for(stage_started, 5)
    c.ok(shot is not None, "after the banner the status line and a mole show",
         f"{time.monotonic() - clicked:.1f}s after the start")

    # Hitting the quota of stage 1 (10 moles in its 10 seconds) brings the
    # banner of stage 2; a game over would bring its banner only after the
    # stage time, and then the title view.
    stage_began = time.monotonic()
    clicks, shot = game.hit_moles(lambda shot: shot.bbox(d.BAND, client), 12)
    took = time.monotonic() - stage_began
    c.ok(shot is not None and took < 10 and shot.bbox(d.MOLE_FRAME, client) is None,
         "clicking the moles clears stage 1: the next banner shows before its time is up",
         f"{clicks} clicks, {took:.1f}s")
    shot = d.wait_for(stage_started, 5)
    c.ok(shot is not None, "stage 2 begins: the status line and a mole show")

    # Escape: the question; the game holds still while it is open.
    game.key("Escape")
    question = c.window(game, "Escape during the game opens a second window of the game", 5, (game.window,))
    question_title = game.title(question)
    c.ok(question_title == "", "the question has an empty caption", repr(question_title))
    qbox = game.geometry(question)
    c.ok(qbox[2] - qbox[0] < width and qbox[3] - qbox[1] < height, "the question is a small box",
         f"{qbox[2] - qbox[0]} x {qbox[3] - qbox[1]}")
    # The game's thread stops at its next checkpoint, not at once: it may
    # still finish a mole's 100 ms spawn pause and one 20 ms poll, and their
    # repaint may reach the screen after the question has appeared. Once it
    # has had that time, nothing may move.
    time.sleep(SUSPEND_SETTLE)
    held = game.screen().crop(status_strip(client))
    time.sleep(0.6)
    c.ok(game.screen().crop(status_strip(client)) == held, "the status line does not move while the question is open")

    # Cancel (Escape in the box): the game goes on.
    game.key("Escape")
    c.ok(game.wait_window_gone(question, 3), "Escape in the question closes it (Cancel)")
    moved = d.wait_for(lambda: game.screen().crop(status_strip(client)) != held, 2)
    c.ok(moved, "after Cancel the status line changes again")
    c.ok(is_running_view(game.screen(), client), "after Cancel the running view is still there")
    mole = game.screen().bbox(d.MOLE_FRAME, client)

    def mole_moved():
        now = game.screen().bbox(d.MOLE_FRAME, client)
        return now is not None and now != mole
    c.ok(d.wait_for(mole_moved, 3), "after Cancel a mole shows somewhere else (the game goes on)", str(mole))

    # Escape, then OK (Return): straight back to the title view.
    game.key("Escape")
    question = c.window(game, "Escape opens the question again", 5, (game.window,))
    game.key("Return")
    answered = time.monotonic()
    c.ok(game.wait_window_gone(question, 3), "Return in the question closes it (OK)")
    back = d.wait_for(lambda: is_title_view(game.screen(), client), 1.5)
    c.ok(back, "after OK the title view shows at once", f"{time.monotonic() - answered:.2f}s")
    time.sleep(1.0)
    c.ok(is_title_view(game.screen(), client), "the title view stays (the stopped game does not come back)")

    # The About box from the system menu, by keyboard; its OK button closes it.
    about = d.open_about_box(c, game)
    ok_button = game.du_to_screen(about, d.ABOUT_OK_CENTRE_DU)
    game.click(ok_button)
    c.ok(game.wait_window_gone(about, 3), "a click on the About box's OK button closes it", str(ok_button))
    c.ok(game.windows() == [game.window], "only the main window is left")

    # Again by a click on the window's icon; Escape closes it this time.
    windows = set(game.windows())
    main_box = game.geometry()
    icon = (main_box[0] + (client[0] - main_box[0]) + 8, main_box[1] + (client[1] - main_box[1]) // 2)
    game.click(icon)
    menu = c.window(game, f"a click on the window's icon at {icon} opens the system menu", 3, windows)
    menu_box = game.geometry(menu)
    inside = (menu_box[0] + 3, menu_box[1] + 3, menu_box[2] - 3, menu_box[3] - 3)
    items = [line for line in d.text_glyphs(game.screen(menu), inside) if line[1] - line[0] >= 6]
    item = (menu_box[0] + 30, (items[-1][0] + items[-1][1]) // 2)
    game.click(item)
    about = game.wait_window(3, exclude=windows | {menu})
    about_title = game.title(about)
    c.ok(about_title == d.ABOUT_TITLE, "a click on the menu's last item opens the About box", repr(about_title))
    game.move(ok_button)
    game.key("Escape")
    c.ok(game.wait_window_gone(about, 3), "Escape closes the About box")
    game.move(game.at((0.5, 0.9)))
    c.ok(is_title_view(game.screen(), client), "the title view shows again")

    # The exit area ends the program.
    game.click(game.at(d.EXIT_CENTRE))
    code = game.wait_exit(5)
    c.ok(code == 0, "a click on Exit ends the game with exit code 0", f"exit code {code}")
    c.ok(not game.windows(), "no window of the game is left")
    left = d.wait_for(lambda: not game.leftovers(), 3)
    c.ok(left, "no process of the game is left", str(game.leftovers()))


if __name__ == "__main__":
    d.main("e2e_play", body, exe=sys.argv[1] if len(sys.argv) > 1 else None)
