#!/usr/bin/env python3
"""Writes a sample ledger for the screenshots beside a sample archive: deposits at every bookmaker
and at two exchanges named as such, the exchange of each bet's lays, and the older bets settled as
back or lay won, the way the bet history writes them. Usage: sampleledger.py ARCHIVE LEDGER."""
import hashlib
import random
import sys
from collections import Counter
from datetime import datetime, timedelta

EXCHANGES = ["Betfair", "Smarkets"]


def entry(when, action, record="", outcome="", amount="", account="", note=""):
    return ",".join(["1", when.strftime("%Y-%m-%dT%H:%M:%S"), action, record, outcome, amount, account, note])


def lines(archive, rng):
    start = datetime(2026, 12, 8, 20, 0, 0)
    bookmakers = sorted({line.split(b",")[2].decode() for line in archive})
    for n, name in enumerate(bookmakers + EXCHANGES):
        yield entry(start, "deposit", amount="%d.00" % (200 + 50 * n), account=name, note="first deposit")
    for name in EXCHANGES:
        yield entry(start, "type", outcome="exchange", account=name)
    yield entry(start, "status", outcome="limited", account=bookmakers[0], note="stakes cut to 2.00")
    seen = Counter()
    for n, line in enumerate(archive):
        digest = hashlib.sha256(line).hexdigest()
        record = "log:%s:%d" % (digest, seen[digest])
        seen[digest] += 1
        when = start + timedelta(minutes=n)
        exchange = EXCHANGES[n % 2]
        if n < len(archive) * 0.8:
            outcome = rng.choice(["profitIfBackWins", "profitIfLayWins"])
            yield entry(when, "settle", record, outcome, "0.00", exchange)
        else:
            yield entry(when, "exchange", record, account=exchange)


with open(sys.argv[1], "rb") as source:
    archive = [line.rstrip(b"\r\n") for line in source if line.strip()]
with open(sys.argv[2], "wb") as ledger:
    ledger.write(b"Version,Date,Action,Record,Outcome,Amount,Account,Note\r\n")
    for line in lines(archive, random.Random(2026)):
        ledger.write((line + "\r\n").encode())
