"""The front panel (`zpv4870 panel`) as a bench engineer meets it: the real page in headless
Chromium driven by Selenium, against the simulator over TCP and against the bundled one. Skips,
saying so, where Chromium, its driver or Selenium is missing."""

from __future__ import annotations

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
import urllib.error
import urllib.request
from pathlib import Path
from typing import Iterator

import pytest

ROOT = Path(__file__).resolve().parents[2]
CLI = os.environ.get("ZPV4870_CLI", str(ROOT / "build" / "tools" / "zpv4870"))
ARTIFACTS = Path(os.environ.get("ZPV4870_ARTIFACTS", str(ROOT / "build" / "artifacts")))
sys.path.insert(0, str(ROOT / "tests" / "support"))
from simulator_process import Simulator  # noqa: E402

webdriver = pytest.importorskip("selenium.webdriver", reason="python3-selenium is not installed "
                                "(scripts/ensure-deps.sh --optional)")
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
if not (Path(CHROMEDRIVER).exists() and (shutil.which("chromium") or Path("/usr/bin/chromium").exists())):
    pytest.skip("chromium and chromium-driver are not installed (scripts/ensure-deps.sh --optional)",
                allow_module_level=True)


class Panel:
    def __init__(self, *args: str) -> None:
        self.process = subprocess.Popen([CLI, "panel", *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        text=True)
        assert self.process.stdout is not None
        line = self.process.stdout.readline()
        match = re.fullmatch(r"Panel: (http://127\.0\.0\.1:\d+)/\?token=([0-9a-f]{32})\n", line)
        assert match, line + self.process.stderr.read()
        self.origin, self.token = match.groups()
        self.url = f"{self.origin}/?token={self.token}"

    def stop(self) -> int:
        self.process.send_signal(signal.SIGINT)
        return self.process.wait(10)


@pytest.fixture(scope="module")
def sim() -> Iterator[Simulator]:
    simulator = Simulator()
    yield simulator
    simulator.stop()


@pytest.fixture(scope="module")
def browser() -> Iterator[webdriver.Chrome]:
    options = webdriver.ChromeOptions()
    for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1280,900"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
    yield driver
    driver.quit()


def control(browser: webdriver.Chrome, name: str):
    return WebDriverWait(browser, 10).until(lambda b: b.find_element(By.CSS_SELECTOR, f'[data-attribute="{name}"]'))


def apply(browser: webdriver.Chrome, name: str, value: str) -> None:
    field = control(browser, name)
    field.clear()
    field.send_keys(value)
    field.find_element(By.XPATH, "./ancestor::form").find_element(By.CSS_SELECTOR, '[data-action="apply"]').click()


def cli(*args: str) -> subprocess.CompletedProcess[str]:
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=60)


def read_back(resource: str, name: str):
    """The attribute as another process reads it from the instrument."""
    return json.loads(cli("--json", "get", resource, name).stdout)[name]


def test_the_panel_drives_the_instrument_from_the_page(sim: Simulator, browser: webdriver.Chrome) -> None:
    panel = Panel(sim.resource)
    try:
        # The token: refused without it, the page and its data with it.
        for path in ("/", "/api/panel", "/api/events"):
            with pytest.raises(urllib.error.HTTPError) as refused:
                urllib.request.urlopen(panel.origin + path, timeout=5)
            assert refused.value.code == 403
        browser.get(panel.url)
        identity = WebDriverWait(browser, 10).until(
            lambda b: b.find_element(By.CSS_SELECTOR, "[data-identity]").text if "serial" in
            b.find_element(By.CSS_SELECTOR, "[data-identity]").text else None)
        assert identity.startswith("Kaltrix ZPV-4832-Advanced, serial SIM000001")

        # A voltage set on the page reaches the instrument and reads back.
        start = sim.mark()
        apply(browser, "OutputPhase1.VoltageLevel", "123.5")
        assert sim.wait_for("< OUTP:VOLT:AC 123.5", after=start), sim.log[start:]
        WebDriverWait(browser, 10).until(lambda b: control(b, "OutputPhase1.VoltageLevel").get_attribute("value") == "123.5")

        # A change in one tab shows in another.
        first = browser.current_window_handle
        browser.switch_to.new_window("tab")
        browser.get(panel.url)
        other = browser.current_window_handle
        control(browser, "OutputPhases.Frequency")
        browser.switch_to.window(first)
        apply(browser, "OutputPhases.Frequency", "55")
        browser.switch_to.window(other)
        WebDriverWait(browser, 10).until(lambda b: control(b, "OutputPhases.Frequency").get_attribute("value") == "55")
        browser.close()
        browser.switch_to.window(first)

        # A value the instrument refuses: its reason beside the control, and the old value kept.
        apply(browser, "OutputPhase1.VoltageLevel", "99999")
        error = WebDriverWait(browser, 10).until(lambda b: b.find_element(By.CSS_SELECTOR, "form [data-error]"))
        assert "refused" in error.text or "Invalid value" in error.text, error.text
        assert control(browser, "OutputPhase1.VoltageLevel").get_attribute("value") == "123.5"
        assert read_back(sim.resource, "OutputPhase1.VoltageLevel") == 123.5

        # Live values at least twice a second.
        cell = browser.find_element(By.CSS_SELECTOR, '[data-measurement="OutputPhase1.Voltage"]')
        seen = set()
        until = time.monotonic() + 2.0
        while time.monotonic() < until:
            seen.add(cell.get_attribute("data-updated"))
            time.sleep(0.05)
        assert len(seen - {""}) >= 4, seen

        # All outputs off, as another process reads it back.
        apply_select = control(browser, "OutputPhase1.Enabled")
        apply_select.find_element(By.CSS_SELECTOR, 'option[value="true"]').click()
        apply_select.find_element(By.XPATH, "./ancestor::form").find_element(By.CSS_SELECTOR, '[data-action="apply"]').click()
        WebDriverWait(browser, 10).until(lambda b: read_back(sim.resource, "OutputPhase1.Enabled") is True)
        browser.find_element(By.CSS_SELECTOR, '[data-action="outputs-off"]').click()
        WebDriverWait(browser, 10).until(lambda b: read_back(sim.resource, "OutputPhase1.Enabled") is False)

        # A two-sequence list program: progress while it runs, then exactly two result rows.
        browser.find_element(By.CSS_SELECTOR, '[data-action="add-sequence"]').click()
        rows = browser.find_elements(By.CSS_SELECTOR, "[data-list-program] [data-sequence]")
        assert len(rows) == 2
        for row, values in zip(rows, [("0", "115", "60", "60", "400"), ("230", "230", "50", "50", "400")]):
            for name, value in zip(("VoltageAcStart", "VoltageAcEnd", "FrequencyStart", "FrequencyEnd", "Time"), values):
                row.find_element(By.CSS_SELECTOR, f'[data-attribute="ListMode.Sequence.{name}"]').send_keys(value)
        browser.find_element(By.CSS_SELECTOR, '[data-action="run-list"]').click()
        progress = browser.find_element(By.CSS_SELECTOR, "[data-list-progress]")
        WebDriverWait(browser, 10).until(lambda b: "sequence" in progress.text)  # e.g. "running: sequence 1 of 2"
        WebDriverWait(browser, 20).until(lambda b: progress.text == "done")
        results = browser.find_elements(By.CSS_SELECTOR, "[data-list-results] tbody tr")
        assert [r.find_element(By.CSS_SELECTOR, "td").text for r in results] == ["1", "2"]
        assert read_back(sim.resource, "OutputPhase1.Enabled") is False

        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        browser.save_screenshot(str(ARTIFACTS / "panel.png"))

        # Nothing the page asked for left the panel's origin.
        requests = [json.loads(entry["message"])["message"] for entry in browser.get_log("performance")]
        urls = {m["params"]["request"]["url"] for m in requests if m["method"] == "Network.requestWillBeSent"}
        assert urls and all(url.startswith(panel.origin + "/") for url in urls), urls
    finally:
        assert panel.stop() == 0


def test_with_the_bundled_simulator_on_the_wrong_address_and_off_on_exit(sim: Simulator) -> None:
    panel = Panel("--simulate", "--model", "ZPV-4816-Standard")
    try:
        with urllib.request.urlopen(f"{panel.origin}/api/panel?token={panel.token}", timeout=5) as answer:
            assert json.load(answer)["identity"]["model"] == "ZPV-4816-Standard"
        # A change from another site's page is refused, token or not.
        request = urllib.request.Request(f"{panel.origin}/api/outputs-off", data=b"", method="POST",
                                         headers={"X-Panel-Token": panel.token, "Origin": "http://elsewhere.example"})
        with pytest.raises(urllib.error.HTTPError) as refused:
            urllib.request.urlopen(request, timeout=5)
        assert refused.value.code == 403
    finally:
        assert panel.stop() == 0
    remote = cli("panel", "--simulate", "--listen", "0.0.0.0")
    assert remote.returncode == 2 and "--allow-remote" in remote.stderr

    # --off-on-exit: what was on when the panel ends goes off.
    panel = Panel(sim.resource, "--off-on-exit")
    request = urllib.request.Request(f"{panel.origin}/api/set", data=b"name=OutputPhase1.Enabled&value=true",
                                     method="POST", headers={"X-Panel-Token": panel.token})
    with urllib.request.urlopen(request, timeout=5) as answer:
        assert json.load(answer)["value"] is True
    assert panel.stop() == 0
    assert read_back(sim.resource, "OutputPhase1.Enabled") is False


def test_the_panel_carries_on_across_an_instrument_restart() -> None:
    first = Simulator()
    panel = Panel(first.resource, "--timeout", "500")
    events: list[dict] = []

    def watch() -> None:
        with urllib.request.urlopen(f"{panel.origin}/api/events?token={panel.token}", timeout=30) as stream:
            for line in stream:
                if line.startswith(b"data: "):
                    events.append(json.loads(line[6:]))

    threading.Thread(target=watch, daemon=True).start()
    second = None
    try:
        wait_until(lambda: any("values" in e for e in events))
        first.process.kill()  # a power cut
        first.process.wait(10)
        wait_until(lambda: any("disconnected" in e for e in events))
        second = Simulator("--port", str(first.port))
        gone = max(i for i, e in enumerate(events) if "disconnected" in e)
        wait_until(lambda: any("values" in e for e in events[gone + 1:]))
        with urllib.request.urlopen(f"{panel.origin}/api/values?token={panel.token}", timeout=5) as answer:
            assert "OutputPhase1.VoltageLevel" in json.load(answer)["values"]
    finally:
        assert panel.stop() == 0
        if second:
            second.stop()


def wait_until(condition, timeout: float = 15.0) -> None:
    deadline = time.monotonic() + timeout
    while not condition():
        assert time.monotonic() < deadline, "timed out"
        time.sleep(0.05)
