#!/usr/bin/env python3
"""Writes a sample archive of a punter's autumn, for the screenshots: qualifying bets and free bets
at several bookmakers, with the figures the calculator gives (same operations, same rounding)."""
import sys
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


BETS = [
    ("03/10/2026 19:02:11", "Arsenal v Chelsea", "Bet365", 10, 0, 2.1, 2.16, 0, 2),
    ("03/10/2026 19:20:45", "Arsenal v Chelsea free bet", "Bet365", 10, 10, 6.5, 6.8, 0, 2),
    ("10/10/2026 14:31:02", "Leeds v Everton", "Coral", 25, 0, 3.2, 3.3, 0, 2),
    ("11/10/2026 11:05:37", "Leeds v Everton free bet", "Coral", 25, 25, 5.0, 5.3, 0, 2),
    ("17/10/2026 13:45:00", "Cheltenham 2:10", "SkyBet", 20, 0, 4.5, 4.7, 0, 2),
    ("18/10/2026 09:12:54", "Cheltenham 2:10 free bet", "SkyBet", 20, 20, 7.0, 7.4, 0, 2),
    ("24/10/2026 17:28:16", "Spurs v Villa", "PaddyPower", 30, 0, 1.9, 1.95, 0, 2),
    ("25/10/2026 12:00:03", "Spurs v Villa free bet", "PaddyPower", 30, 30, 8.0, 8.6, 0, 2),
    ("01/11/2026 15:03:40", "Man City v Wolves", "Ladbrokes", 50, 0, 1.5, 1.53, 0, 2),
    ("02/11/2026 10:41:29", "Man City v Wolves free bet", "Ladbrokes", 50, 50, 6.0, 6.4, 0, 2),
    ("08/11/2026 16:22:08", "Ascot 3:35", "BetFred", 20, 0, 3.75, 3.9, 0, 2),
    ("09/11/2026 09:55:12", "Ascot 3:35 free bet", "BetFred", 20, 20, 9.0, 9.8, 0, 2),
    ("15/11/2026 19:47:31", "Newcastle v Brighton", "Bet365", 10, 0, 2.6, 2.68, 0, 2),
    ("22/11/2026 14:05:59", "Liverpool v Man U", "Coral", 25, 0, 2.0, 2.05, 0, 4.75),
    ("23/11/2026 18:30:00", "Liverpool v Man U free bet", "Coral", 25, 25, 5.5, 5.9, 0, 2),
    ("29/11/2026 12:12:12", "Sandown 1:50", "BoyleSports", 15, 0, 5.0, 5.3, 0, 2),
    ("30/11/2026 20:08:44", "Sandown 1:50 free bet", "BoyleSports", 15, 15, 11.0, 12.0, 0, 2),
]

with open(sys.argv[1], "wb") as archive:
    for bet in BETS:
        archive.write((record(*bet) + "\r\n").encode())
