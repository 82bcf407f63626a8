"""Waiting for a condition with a deadline, the one way the Python tests wait (never a fixed sleep)."""
import time


def wait_until(predicate, timeout, what, interval=0.1):
    """Polls `predicate` until it returns a true value, which it returns, or raises after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
