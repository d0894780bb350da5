#!/usr/bin/env python3
"""Writes a sample Betfair profit-and-loss statement for the screenshots beside a sample archive and
ledger: a market line for each of the open bets whose lays the ledger puts at Betfair, bringing what
the lay winning or losing brings after commission (so that the history proposes it), one market no
bet matches, and one whose amount no outcome brings. Usage: samplestatement.py ARCHIVE STATEMENT."""
import random
import sys
from datetime import datetime, timedelta
from decimal import Decimal, ROUND_HALF_UP


def pennies(value):
    return value.quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)


def market(event):
    if " v " in event:
        return f"Football / Premier League / {event} : Match Odds"
    return f"Horse Racing / {event} : Win"


def line(description, when, amount):
    start = when + timedelta(hours=1)
    settled = start + timedelta(hours=2)
    shown = f"({-amount})" if amount < 0 else str(amount)
    return f"{description},{start:%d-%b-%y %H:%M},{settled:%d-%b-%y %H:%M},{shown}"


def lines(archive, rng):
    # The ledger's open bets: the last fifth, their lays at Betfair and Smarkets in turn.
    for n, fields in enumerate(archive):
        if n < len(archive) * 0.8 or n % 2 != 0:
            continue
        when = datetime.strptime(fields[0], "%d/%m/%Y %H:%M:%S")
        lay_odds, lay_stake, lay_comm = Decimal(fields[6]), Decimal(fields[8]), Decimal(fields[10])
        lay_won = rng.random() < 0.5
        amount = pennies(lay_stake * (100 - lay_comm) / 100) if lay_won else -pennies(lay_stake * (lay_odds - 1))
        yield when, line(market(fields[1]), when, amount)
    last = datetime.strptime(archive[-1][0], "%d/%m/%Y %H:%M:%S")
    yield last, line("Tennis / ATP Finals / Sinner v Alcaraz : Match Odds", last, Decimal("4.75"))
    yield last, line(market(archive[-2][1]), last, Decimal("1.23"))


with open(sys.argv[1], "rb") as source:
    archive = [line.decode().rstrip("\r\n").split(",") for line in source if line.strip()]
with open(sys.argv[2], "w", newline="") as statement:
    statement.write("\ufeffMarket,Start time,Settled date,Profit/Loss (\u00a3)\r\n")
    for _, text in sorted(lines(archive, random.Random(2026)), reverse=True):
        statement.write(text + "\r\n")
