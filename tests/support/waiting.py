"""Waiting for a condition with a deadline, the one way the Python tests wait (never a fixed sleep)."""
import time


def wait_until(predicate, timeout, what, interval=0.1, longest=0.5):
    """Polls `predicate` until it returns a true value, which it returns, or raises after `timeout` seconds.

    The pause between polls grows from `interval` to `longest`: a quick condition is seen at once, and a long
    wait does not spend the machine's time on polls (an end-to-end poll starts a Windows program under Wine),
    time that the program under test and the tests beside it need."""
    deadline = time.monotonic() + timeout
    pause = interval
    while True:
        value = predicate()
        if value:
            return value
        now = time.monotonic()
        if now >= deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(min(pause, deadline - now))
        pause = min(pause * 1.5, longest)
