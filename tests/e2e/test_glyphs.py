#!/usr/bin/env python3
"""Checks that the Japanese texts Wine draws for the game show real glyphs.

The game runs with LC_ALL=C.UTF-8, a locale without Japanese: the abort
question "中断します", the About box (its caption and its second line), the
About item of the system menu and the title "ぬらぽん" must still come out
in Japanese glyphs, not as rows of missing-glyph boxes. The question, the
menu and the captions use Wine's own interface fonts, which only the
prefix's font links give Japanese glyphs; the About box's lines and the
title use the game's fonts, which the prefix's font replacements map to the
IPA Gothic fonts. A failed text prints its ink, keeps its screenshot and,
at the end, the prefix's font settings are printed.

Needs an X display and a Wine prefix (scripts/run-tests.sh -R e2e_glyphs
provides both). Usage: test_glyphs.py [path of Dunko.exe]
"""
import sys

import dunko_driver as d

GAME_TITLE = "ぬらぽん"
QUESTION = "中断します"
ABOUT_CAPTION = "Dunkoのﾊﾞｰｼﾞｮﾝ情報"
ABOUT_LINE = "もぐらたたきゲーム"
ABOUT_ITEM = "Dunko のﾊﾞｰｼﾞｮﾝ情報(A)..."


def check_line(c, what, lines, index, text, screen):
    """Judges one line of text pieces; on a failure prints its ink and keeps
    the screenshot it came from, and the run goes on to the next text."""
    pieces = lines[index][2] if -len(lines) <= index < len(lines) else []
    ok, detail = d.judge_glyphs(pieces, text)
    if not ok:
        print(d.pieces_picture(pieces))
        d.save_failure_picture(f"e2e_glyphs-{len(c.failed) + 1}", screen)
    c.ok(ok, f"{what} shows the glyphs of {text}", detail, go_on=True)


def body(c, game):
    client = game.find_client()
    main_box = game.geometry()
    # Offsets of the client area inside a captioned dialog frame; the
    # question and the About box have the same kind of frame.
    frame_left = client[0] - main_box[0]
    frame_top = client[1] - main_box[1]
    c.note(f"the title view shows: client at {client[:2]}, frame {frame_left} / {frame_top}")

    def inside(box, left=0, top=0, right=0, bottom=0):
        return (box[0] + frame_left + left, box[1] + frame_top + top,
                box[2] - frame_left - right, box[3] - frame_left - bottom)

    # The title the game paints itself, in its own (replaced) font.
    screen = game.screen()
    title_box = screen.bbox(d.TITLE_BOX, client)
    c.ok(title_box is not None, "the title box shows", str(title_box))
    title_region = (title_box[0] + 2, title_box[1] + 2, title_box[2] - 2, title_box[3] - 2)
    check_line(c, "the title box", d.text_glyphs(screen, title_region), 0, GAME_TITLE, screen)

    # The question, during a game.
    game.click(game.at(d.START_CENTRE))
    started = d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 6)
    c.ok(started, "a click on Start begins a game")
    game.key("Escape")
    question = game.wait_window(5, exclude=(game.window,))
    qbox = game.geometry(question)
    screen = game.screen(question)
    lines = d.text_glyphs(screen, inside(qbox, 2, 2, 2, 2))
    c.ok(len(lines) >= 2, "the question shows a text line above its buttons", f"{len(lines)} lines")
    check_line(c, "the question's text", lines, 0, QUESTION, screen)
    game.key("Return")
    c.ok(game.wait_window_gone(question, 3), "Return answers the question")
    back = d.wait_for(lambda: game.screen().bbox(d.TITLE_BOX, client), 3)
    c.ok(back, "the title view is back")

    # The system menu's About item.
    windows = set(game.windows())
    game.key("alt+space")
    menu = game.wait_window(3, exclude=windows)
    mbox = game.geometry(menu)
    region = (mbox[0] + 3, mbox[1] + 3, mbox[2] - 3, mbox[3] - 3)
    screen = game.screen(menu)
    items = [line for line in d.text_glyphs(screen, region) if line[1] - line[0] >= 6]
    c.ok(len(items) >= 2, "the system menu shows its items", f"{len(items)} lines of text")
    check_line(c, "the menu's last item", items, -1, ABOUT_ITEM, screen)

    # The About box: its caption and its Japanese line.
    game.key("Up", "Return")
    about = game.wait_window(3, exclude=windows | {menu})
    abox = game.geometry(about)
    # The caption text, short of the close button at its right end.
    caption_region = (abox[0] + frame_left + 1, abox[1] + 4, abox[2] - frame_left - 24, abox[1] + frame_top - 2)
    screen = game.screen(about)
    caption = d.text_glyphs(screen, caption_region)
    c.ok(len(caption) == 1, "the About box's caption is one line of text", f"{len(caption)} lines")
    check_line(c, "the About box's caption", caption, 0, ABOUT_CAPTION, screen)
    # The two lines right of the icon and left of the OK button.
    ok_left = game.du_to_screen(about, (178, 7))[0]
    icon_right = game.du_to_screen(about, (33, 0))[0]
    text_region = (icon_right, abox[1] + frame_top, ok_left - 4, abox[3] - 4)
    text = d.text_glyphs(screen, text_region)
    c.ok(len(text) == 2, "the About box shows two lines of text", f"{len(text)} lines")
    check_line(c, "the About box's second line", text, 1, ABOUT_LINE, screen)
    game.key("Return")
    c.ok(game.wait_window_gone(about, 3), "Return closes the About box")

    game.click(game.at(d.EXIT_CENTRE))
    code = game.wait_exit(5)
    c.ok(code == 0, "a click on Exit ends the game with exit code 0", f"exit code {code}")
    if c.failed:
        show_font_settings(c, game)


def show_font_settings(c, game):
    """Prints the prefix's font settings the texts depend on, to tell a
    missing setting from one Wine has overwritten."""
    queries = [
        (r"HKCU\Software\Wine\Fonts", "Codepages"),
        (r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink", "Tahoma"),
        (r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes", "MS Shell Dlg"),
        (r"HKCU\Software\Wine\Fonts\Replacements", "MS PGothic"),
    ]
    for key, value in queries:
        out = d.run("wine", "reg", "query", key, "/v", value, check=False, env=game.env)
        found = [line.strip() for line in out.splitlines() if line.strip().startswith(value)]
        c.note(f"{key} {found[0] if found else value + ': (not set)'}")


if __name__ == "__main__":
    d.main("e2e_glyphs", body, game_env={"LC_ALL": "C.UTF-8"},
           exe=sys.argv[1] if len(sys.argv) > 1 else None)
