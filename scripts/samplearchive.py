#!/usr/bin/env python3
"""Writes a sample archive of a punter's season, for the screenshots: qualifying bets and the free
bets they earn, some part free bets, at several bookmakers, with the figures the calculator gives
(same operations, same rounding). Usage: samplearchive.py ARCHIVE [COUNT] (COUNT defaults to 300)."""
import random
import sys
from datetime import datetime, timedelta
from decimal import Decimal, ROUND_HALF_UP


def shown(value):
    # Two decimals from the value's 15-significant-digit form, halves away from zero.
    return str(Decimal(format(value, ".15g")).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP))


def record(when, event, bookmaker, stake, forfeit, back, lay, back_comm, lay_comm):
    r = stake * back - (back - 1) * stake * back_comm / 100 - forfeit
    lay_stake = r / (lay - lay_comm / 100)
    lay_risk = (lay - 1) * lay_stake
    lay_returns = (100 - lay_comm) * lay_stake / 100
    back_returns = r - lay_risk
    closeness = back_returns / stake * 100
    inputs = [stake, forfeit, back, lay]
    figures = [shown(lay_risk), shown(lay_stake)]
    tail = [back_comm, lay_comm]
    rest = [shown(r), shown(back_returns), shown(lay_returns), shown(closeness)]
    fields = [when, event, bookmaker] + [format(v, "g") for v in inputs] + figures + [format(v, "g") for v in tail] + rest
    return ",".join(fields)


BOOKMAKERS = ["Bet365", "Coral", "SkyBet", "PaddyPower", "Ladbrokes", "BetFred", "BoyleSports", "William Hill"]
TEAMS = ["Arsenal", "Chelsea", "Leeds", "Everton", "Spurs", "Villa", "Man City", "Wolves", "Newcastle",
         "Brighton", "Liverpool", "Man U", "Fulham", "Brentford"]
COURSES = ["Cheltenham", "Ascot", "Sandown", "Newbury", "Kempton", "Haydock"]


def event(rng):
    if rng.random() < 0.6:
        home, away = rng.sample(TEAMS, 2)
        return f"{home} v {away}"
    return f"{rng.choice(COURSES)} {rng.randint(1, 4)}:{rng.choice(['05', '10', '35', '50'])}"


def bets(count, rng):
    when = datetime(2025, 12, 1, 12, 0, 0)
    step = timedelta(days=330) / max(count, 1)
    for _ in range(count):
        when += step + timedelta(seconds=rng.randint(0, 5400))
        stake = rng.choice([5, 10, 10, 20, 25, 25, 50])
        back = round(rng.uniform(1.5, 9.0), 2)
        lay = round(back * rng.uniform(1.01, 1.08), 2)
        kind = rng.random()
        forfeit = 0 if kind < 0.55 else (stake if kind < 0.9 else stake / 2)
        lay_comm = rng.choice([2, 2, 2, 5])
        name = event(rng) + (" free bet" if forfeit else "")
        yield record(when.strftime("%d/%m/%Y %H:%M:%S"), name, rng.choice(BOOKMAKERS), stake, forfeit, back, lay, 0,
                     lay_comm)


count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
with open(sys.argv[1], "wb") as archive:
    for line in bets(count, random.Random(2026)):
        archive.write((line + "\r\n").encode())
