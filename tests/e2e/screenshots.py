#!/usr/bin/env python3
"""Takes the pictures of the game in docs/ from the real game under Wine.

Plays through the title view, a cleared stage 1 (for the banner of stage 2),
a few hits in stage 2, the abort question and the system menu, and writes
each picture cropped to the game's window. The Japanese texts Wine draws
(the question and the menu's About item) are checked for real glyphs; a
picture with missing-glyph boxes fails the run.

Run by scripts/screenshots.sh, which provides the display and the prefix.
Usage: screenshots.py OUTPUT_DIR [path of Dunko.exe]
"""
import os
import sys
import time

import dunko_driver as d


def union(*boxes):
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


class Failed(Exception):
    pass


def expect(value, what):
    if not value:
        raise Failed(what)
    return value


def write(shot, region, out_dir, name):
    path = os.path.join(out_dir, f"screenshot-{name}.png")
    shot.save(path, region)
    print(f"wrote {path} ({region[2] - region[0]} x {region[3] - region[1]})", flush=True)


def take(game, out_dir):
    width, height = (int(v) for v in d.run("xdpyinfo").split("dimensions:")[1].split()[0].split("x"))
    game.find_client()

    # Put the window in the middle of the screen, where message boxes go, by
    # dragging its caption.
    box = game.geometry()
    target = ((width - (box[2] - box[0])) // 2, (height - (box[3] - box[1])) // 2)
    grip = (box[0] + 200, box[1] + 10)
    game.drag(grip, (grip[0] + target[0] - box[0], grip[1] + target[1] - box[1]))
    expect(d.wait_for(lambda: game.geometry()[:2] == target, 3), "the window did not move")
    client = game.find_client()
    main = game.geometry()

    # The title view, neither button hovered.
    game.move(game.at((0.5, 0.92)))

    def unhovered():
        s = d.Screen(main)
        return s if s.bbox(d.HOVER_FILL, client) is None else None
    shot = expect(d.wait_for(unhovered, 2), "a button stayed hovered")
    write(shot, main, out_dir, "title")

    # Stage 1 cleared: the banner of stage 2 over the last status line.
    game.click(game.at(d.START_CENTRE))
    expect(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 6), "no mole in stage 1")
    clicks, shot = game.hit_moles(lambda s: s.bbox(d.BAND, client), 12)
    expect(shot is not None, f"stage 1 not cleared after {clicks} clicks")
    time.sleep(0.3)
    write(d.Screen(main), main, out_dir, "banner")

    # A few hits into stage 2, then a mole with the status line.
    expect(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 5), "no mole in stage 2")
    game.hit_moles(lambda s: False, 5, most=3)

    def mole_no_band():
        s = d.Screen(main)
        box = s.bbox(d.MOLE_FRAME, client)
        return s if box and s.bbox(d.BAND, client) is None and box[1] > client[1] + 40 else None
    shot = expect(d.wait_for(mole_no_band, 3), "no mole after the hits")
    write(shot, main, out_dir, "stage")

    # The question over the game.
    game.key("Escape")
    question = game.wait_window(5, exclude=(game.window,))
    time.sleep(0.3)
    qbox = game.geometry(question)
    shot = d.Screen(union(main, qbox))
    frame_left, frame_top = client[0] - main[0], client[1] - main[1]
    lines = d.text_glyphs(shot, (qbox[0] + frame_left + 2, qbox[1] + frame_top + 2,
                                 qbox[2] - frame_left - 2, qbox[3] - frame_left - 2))
    ok, detail = d.judge_glyphs(lines[0][2] if lines else [], "中断します")
    write(shot, union(main, qbox), out_dir, "question")
    expect(ok, f"the question shows no Japanese glyphs: {detail}")
    game.key("Return")
    expect(game.wait_window_gone(question, 3), "the question stayed open")
    expect(d.wait_for(lambda: game.screen().bbox(d.TITLE_BOX, client), 3), "no title view after OK")

    # The system menu with its About item picked.
    windows = set(game.windows())
    game.key("alt+space")
    menu = game.wait_window(3, exclude=windows)
    mbox = game.geometry(menu)
    items = [line for line in d.text_glyphs(game.screen(menu), (mbox[0] + 3, mbox[1] + 3, mbox[2] - 3, mbox[3] - 3))
             if line[1] - line[0] >= 6]
    ok, detail = d.judge_glyphs(items[-1][2] if items else [], "Dunko のﾊﾞｰｼﾞｮﾝ情報(A)...")
    game.key("Up")
    time.sleep(0.3)
    write(d.Screen(union(main, mbox)), union(main, mbox), out_dir, "sysmenu")
    expect(ok, f"the menu's About item shows no Japanese glyphs: {detail}")
    game.key("Escape")
    expect(game.wait_window_gone(menu, 3), "the menu stayed open")

    game.click(game.at(d.EXIT_CENTRE))
    expect(game.wait_exit(10) == 0, "the game did not end with exit code 0")



def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    out_dir = os.path.abspath(sys.argv[1])
    os.makedirs(out_dir, exist_ok=True)
    game = d.Game(exe=sys.argv[2] if len(sys.argv) > 2 else None, env={"LC_ALL": "C.UTF-8"})
    try:
        take(game, out_dir)
    except (Failed, TimeoutError, RuntimeError) as error:
        print(f"screenshots: {error}")
        return 1
    finally:
        game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
