#!/usr/bin/python3
"""An hour of play in brikka-sim, looking for leaks.

usage: hour_of_play.py SIM [MINUTES] [SEED]

Plays MINUTES (60) of virtual time through the simulator's script commands, deciding each
step from the game's dump as a player would: on the menu it clicks the switches into one
player, two players or battle, now and then opens the highscore table, and starts a game;
in play it holds and releases the keys of every well in play, sometimes restarts a well
(F1/F2) or leaves for the menu; a battle round that ends is started again (F3); a lost
game's players type their nicknames on the highscore screen, which then restarts or goes
back to the menu. Every few minutes the device is lost (sometimes through the focus).

Run it on a sanitizer build: the simulator must exit 0 with no leak reported, and back on
the menu after a device reset it must hold the same open files, textures and fonts at the
end as after the first game.
"""
import json
import os
import random
import subprocess
import sys
import tempfile
import time

MENU, PLAY, HIGHSCORES = 1, 2, 3
# Centres of the menu's buttons and the highscore screen's.
MULTI, BATTLE, MUSIC, SOUND = (325, 192), (475, 192), (325, 262), (475, 262)
LGRID, RGRID, TABLE, START, CW = (325, 332), (475, 332), (400, 412), (475, 482), (382, 122)
HS_BACK, HS_RESTART, HS_MENU, HS_NEXT = (75, 522), (255, 522), (405, 522), (725, 522)
WELL_KEYS = {"right": ("LEFT", "RIGHT", "DOWN", "UP"), "left": ("A", "D", "S", "W")}


class Sim:
    """brikka-sim reading its script from a pipe, one command at a time."""

    def __init__(self, sim, data, log):
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=1"]))
        self.proc = subprocess.Popen([sim, "--data-dir", data, "-"], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=log, text=True, bufsize=1,
                                     env=env)
        self.commands = 0

    def send(self, *lines):
        for line in lines:
            self.proc.stdin.write(line + "\n")
            self.commands += 1

    def dump(self):
        self.send("dump")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        if not line:
            raise SystemExit(f"brikka-sim stopped (status {self.proc.wait()})")
        return json.loads(line)

    def close(self):
        self.proc.stdin.close()
        rest = self.proc.stdout.read()
        return self.proc.wait(), rest


class Player:
    def __init__(self, sim, rnd):
        self.sim, self.rnd = sim, rnd
        self.games = {"one player": 0, "two players": 0, "battle": 0}
        self.nicknames = self.rounds = self.restarts = self.tables = 0
        self.mode = "one player"
        self.held = set()

    def click(self, at):
        self.sim.send(f"clickat {at[0]} {at[1]}", "frames 2")

    def release_all(self):
        self.sim.send(*[f"release {k}" for k in sorted(self.held)])
        self.held.clear()

    def on_menu(self, d):
        s = d["settings"]
        if self.rnd.random() < 0.15 and "MenuHighscoresButton" not in d["grayed"]:
            self.click(TABLE)
            self.tables += 1
            return
        first = sum(self.games.values()) == 0
        if first:  # two players with both grids: every picture of the play screen in use
            self.mode = "two players"
            for well, button in (("left", LGRID), ("right", RGRID)):
                if not d[well]["ShowGrid"]:
                    self.click(button)
        else:
            for button in (MUSIC, SOUND, LGRID, RGRID, CW):
                if self.rnd.random() < 0.2:
                    self.click(button)
            self.mode = self.rnd.choice(list(self.games))
        if s["Multiplayer"] != (self.mode != "one player"):
            self.click(MULTI)
        if (self.mode == "battle") != (s["Battle"] and self.mode != "one player"):
            self.click(BATTLE)
        self.click(START)
        self.games[self.mode] += 1

    def on_play(self, d):
        wells = [w for w in ("right", "left") if d[w]["Active"]]
        if d["settings"]["Battle"] and (d["right"]["GameOver"] or d["left"]["GameOver"]):
            self.release_all()
            self.rounds += 1
            self.sim.send("press F3" if self.rnd.random() < 0.7 else "press ESC", "frames 2")
            return
        paused = [w for w in ("right", "left") if d[w]["Paused"]]
        if paused:  # by a lost device; in battle P goes on with both wells
            keys = ["P"] if "right" in paused or d["settings"]["Battle"] else []
            keys += ["T"] if "left" in paused and not d["settings"]["Battle"] else []
            self.sim.send(*[f"press {k}" for k in keys], "frames 2")
            return
        roll = self.rnd.random()
        if roll < 0.01:
            self.release_all()
            self.sim.send("press ESC", "frames 2")  # the game keeps running behind the menu
            return
        if roll < 0.03:
            self.restarts += 1
            self.sim.send(self.rnd.choice(["press F1", "press F2"]))
        for well in wells:
            left, right, down, turn = WELL_KEYS[well]
            for key in (left, right, down):
                if key in self.held and self.rnd.random() < 0.5:
                    self.sim.send(f"release {key}")
                    self.held.discard(key)
            move = self.rnd.choice([left, right, None, None])
            if move:
                self.sim.send(f"hold {move}")
                self.held.add(move)
            if self.rnd.random() < 0.7:
                self.sim.send(f"hold {down}")
                self.held.add(down)
            if self.rnd.random() < 0.3:
                self.sim.send(f"press {'UP' if well == 'right' else 'W'}")
        self.sim.send(f"wait {self.rnd.randint(100, 700)}")

    def on_highscores(self, d):
        self.release_all()
        if d["right"]["EnteringNickname"] or d["left"]["EnteringNickname"]:
            name = "".join(self.rnd.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(6))
            self.sim.send(*["press BACKSPACE"] * 8, f"type {name}", "press ENTER", "frames 2")
            self.nicknames += 1
            return
        if self.rnd.random() < 0.3:
            self.click(self.rnd.choice([HS_NEXT, HS_BACK]))
        elif d["highscores"]["fromMenu"] or self.rnd.random() < 0.5:
            self.click(HS_MENU)
        else:
            self.click(HS_RESTART)
            self.games[self.mode] += 1

    def to_menu(self):
        """Back to the menu from wherever the game is, naming any nickname asked for."""
        for _ in range(20):
            d = self.sim.dump()
            if d["screen"] == MENU:
                return d
            if d["screen"] == PLAY:
                self.release_all()
                self.sim.send("press ESC", "frames 2")
            else:
                self.on_highscores(d) if d["right"]["EnteringNickname"] or d["left"][
                    "EnteringNickname"] else self.click(HS_MENU)
        raise SystemExit("cannot get back to the menu")


def held_after_reset(sim):
    """What the process holds on the menu after a lost device and its reset."""
    sim.send("lose-device", "frames 5")
    d = sim.dump()
    if d["screen"] != MENU:
        raise SystemExit(f"the checkpoint is not on the menu (screen {d['screen']})")
    return d["resources"]


def main():
    sim_path = sys.argv[1]
    minutes = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    rnd = random.Random(seed)
    began = time.monotonic()
    with tempfile.TemporaryDirectory() as data, tempfile.TemporaryFile("w+") as log:
        sim = Sim(sim_path, data, log)
        p = Player(sim, rnd)
        sim.send(f"seed {seed}", "start")
        start = sim.dump()["time"]
        first = None
        next_loss = 3 * 60000
        while True:
            d = sim.dump()
            if d["ended"]:
                raise SystemExit(f"the game ended at {d['time'] - start} ms of play")
            elapsed = d["time"] - start
            if elapsed >= minutes * 60000:
                break
            if first is None and d["screen"] == MENU and sum(p.games.values()) > 0:
                first = held_after_reset(sim)
                print(f"after the first game: {first}", flush=True)
                continue
            if elapsed >= next_loss:
                next_loss += rnd.randint(2, 5) * 60000
                sim.send("lose-device" if rnd.random() < 0.7 else "focus out", "wait 2000",
                         "focus in")
                continue
            {MENU: p.on_menu, PLAY: p.on_play, HIGHSCORES: p.on_highscores}[d["screen"]](d)
        p.to_menu()
        last = held_after_reset(sim)
        print(f"at the end:           {last}")
        status, _ = sim.close()
        log.seek(0)
        errors = log.read()
    print(f"{minutes} minutes of virtual play in {time.monotonic() - began:.0f} s: games "
          f"{p.games}, {p.rounds} battle rounds ended, {p.restarts} wells restarted, "
          f"{p.nicknames} nicknames typed, table opened {p.tables} times from the menu, "
          f"{sim.commands} commands")
    faults = []
    if status != 0 or "LeakSanitizer" in errors or "ERROR" in errors:
        faults.append(f"brikka-sim exit status {status}\n{errors[-4000:]}")
    if first is None:
        faults.append("no game was played")
    elif last != first:
        faults.append(f"holds {last} at the end, {first} after the first game")
    for fault in faults:
        print("FAIL:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
