#!/usr/bin/env python3
"""The game at 150 % (144 dots per inch) under Wine, in a prefix of its own
(scripts/wine-env.sh's kind "scaled"): the same game as at 96 dpi, scaled.

The client area is the 96-dpi one (558 x 483 with the tests' fonts, which
e2e_play checks) times 1.5; the status line lies whole inside its strip,
45 pixels high; a mole is 75 x 75 pixels inside its frame, and clicking
the moles where they are drawn clears the first stage.

Usage: test_scaled.py [path of Dunko.exe]
"""
import subprocess
import sys
import time

import dunko_driver as d

CLIENT = (837, 725)  # 558 x 483 at 96 dpi, each edge times 1.5
STRIP = 45           # the status strip: 30 pixels at 96 dpi
MOLE = 75 + 1        # 50 pixels at 96 dpi, and the frame's right and bottom line


def body(c, game):
    # The title view's background, once the first paint has reached the
    # screen whole.
    def sized():
        box = game.find_client()
        return box if (box[2] - box[0], box[3] - box[1]) == CLIENT else None
    client = d.wait_for(sized, 5)
    c.ok(client is not None, f"the client area is the 96-dpi one times 1.5: {CLIENT}", str(game.client))
    game.click(game.at(d.START_CENTRE))
    shot = d.wait_for(lambda: (lambda s: s if s.bbox(d.BAND, client) is None and s.bbox(d.MOLE_FRAME, client)
                                and s.bbox(d.STATUS, client) else None)(game.screen()), 6)
    c.ok(shot is not None, "after the banner the status line and a mole show")
    ink = shot.bbox(d.STATUS, client)
    c.ok(ink[1] > client[1] and ink[3] < client[1] + STRIP, f"the status line lies whole inside its {STRIP}-pixel strip",
         f"ink rows {ink[1] - client[1]} to {ink[3] - client[1]}")
    mole = shot.bbox(d.MOLE_FRAME, client)
    c.ok((mole[2] - mole[0], mole[3] - mole[1]) == (MOLE, MOLE), "a mole is 75 x 75 pixels inside its frame",
         str(mole))
    began = time.monotonic()
    clicks, shot = game.hit_moles(lambda s: s.bbox(d.BAND, client), 12)
    took = time.monotonic() - began
    c.ok(shot is not None and took < 10, "clicking the moles where they are drawn clears stage 1",
         f"{clicks} clicks, {took:.1f}s")


def main():
    # The prefix is made before, by the CTest fixture scaled_prefix.
    env = d.wine_variables("scaled")
    try:
        d.main("e2e_scaled", body, game_env={"WINEPREFIX": env["WINEPREFIX"]},
               exe=sys.argv[1] if len(sys.argv) > 1 else None)
    finally:
        subprocess.run(["wineserver", "-k"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=10)


if __name__ == "__main__":
    main()
