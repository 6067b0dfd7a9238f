"""The zpv4870 tool as a user runs it, against the simulator over TCP: output, JSON and exit status
of each command, list programs from YAML, and the live view on a terminal."""

from __future__ import annotations

import json
import os
import pty
import re
import select
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path
from typing import Iterator

import pytest

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "support"))
from simulator_process import Simulator  # noqa: E402

CLI = os.environ.get("ZPV4870_CLI", str(ROOT / "build" / "tools" / "zpv4870"))

PROGRAM = """\
program:
  base: time
  count: 1
sequences:
  - voltage_ac_start: 0
    voltage_ac_end: 115
    frequency_start: 60
    frequency_end: 60
    time_unit: millisecond
    time: 100
  - VoltageAcStart: 230
    VoltageAcEnd: 230
    FrequencyStart: 50
    FrequencyEnd: 50
    time_unit: millisecond
    time: 100
"""


@pytest.fixture(scope="module")
def sim() -> Iterator[Simulator]:
    simulator = Simulator()
    yield simulator
    simulator.stop()


def run(*args: str) -> subprocess.CompletedProcess[str]:
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=60)


def test_identify_for_people_and_for_scripts(sim: Simulator) -> None:
    people = run("identify", sim.resource)
    assert people.returncode == 0, people.stderr
    assert re.search(r"^Model: +ZPV-4832-Advanced$", people.stdout, re.M)
    assert re.search(r"^Serial number: +SIM000001$", people.stdout, re.M)
    data = json.loads(run("--json", "identify", sim.resource).stdout)
    assert data["manufacturer"] == "Kaltrix" and data["model"] == "ZPV-4832-Advanced"
    assert "ZPV-4816-Standard" in data["supported_models"]
    simulated = json.loads(run("identify", "", "--simulate", "--model", "ZPV-4816-Standard", "--json").stdout)
    assert simulated["model"] == "ZPV-4816-Standard"


def test_set_then_get_by_name_with_enumerations_by_name(sim: Simulator) -> None:
    done = run("set", sim.resource, "OutputPhase1.VoltageLevel=230.5", "ManualMode.Range=high", "OutputPhase1.Enabled=on")
    assert done.returncode == 0, done.stderr
    assert "ManualMode.Range = HIGH" in done.stdout
    data = json.loads(run("get", sim.resource, "outputphase1.voltagelevel", "ManualMode.Range", "OutputPhase1.Enabled",
                          "--json").stdout)
    assert data == {"OutputPhase1.VoltageLevel": 230.5, "ManualMode.Range": "HIGH", "OutputPhase1.Enabled": True}
    people = run("get", sim.resource, "ManualMode.Frequency")
    assert re.fullmatch(r"ManualMode\.Frequency = [\d.]+ Hz\n", people.stdout)


def test_usage_errors_exit_2_before_anything_is_sent(sim: Simulator) -> None:
    mark = sim.mark()
    for args, message in [
        (("get", sim.resource, "Bogus.Name"), "unknown attribute 'Bogus.Name'"),
        (("set", sim.resource, "ManualMode.Range=sideways"), "expected one of AUTO, HIGH, LOW"),
        (("set", sim.resource, "Identity.InstrumentModel=x"), "is read-only"),
        (("set", sim.resource, "ManualMode.Frequency"), "is not NAME=VALUE"),
        (("identify",), "identify needs a RESOURCE (or --simulate)"),
        ((), "A subcommand is required"),
    ]:
        result = run(*args)
        assert result.returncode == 2, (args, result.stdout, result.stderr)
        assert message in result.stderr + result.stdout, (args, result.stderr)
    assert sim.mark() == mark


def test_driver_failures_exit_1_with_the_description(sim: Simulator) -> None:
    result = run("set", sim.resource, "System.Alarm=12")
    assert result.returncode == 1
    assert "ZPV4870: Invalid value '12'" in result.stderr
    unreachable = run("identify", "TCPIP0::127.0.0.1::1::SOCKET", "--timeout", "500")
    assert unreachable.returncode == 1 and "opening" in unreachable.stderr


def test_attributes_list_names_types_and_values() -> None:
    listed = json.loads(run("attributes", "--json").stdout)
    catalog = json.loads((ROOT / "share" / "zpv4870" / "catalog.json").read_text())
    assert len(listed) == len(catalog["attributes"])
    by_name = {a["name"]: a for a in listed}
    assert by_name["ManualMode.Range"]["values"] == ["AUTO", "HIGH", "LOW"]
    assert by_name["OutputPhase1.VoltageLevel"]["per_phase"] is True
    assert by_name["Identity.InstrumentModel"]["access"] == "read-only"
    # Units and ranges are the rows': StepMode.Time counts in its TimeUnit, not in seconds.
    assert by_name["StepMode.Time"]["unit"] == "per TimeUnit" and by_name["StepMode.Time"]["missing_on"] == "Standard"
    assert by_name["OutputPhase1.VoltageLevel"]["unit"] == "V" and by_name["System.Alarm"]["range"] == "0 to 9"
    assert by_name["DriverOperation.RangeCheck"]["unit"] is None
    table = run("attributes", "--filter", "currentprotection.delay").stdout.splitlines()
    assert table[0].split() == ["NAME", "TYPE", "ACCESS", "UNIT", "RANGE", "VALUES"]
    assert [line.split()[0] for line in table[1:]] == ["OutputPhase1.CurrentProtection.Delay",
                                                       "Ivi.OutputPhase1.CurrentProtection.Delay"]


def test_measure_errors_and_reset(sim: Simulator) -> None:
    reading = json.loads(run("measure", sim.resource, "--json").stdout)
    assert set(reading) == {"phase", "voltage", "current", "power", "frequency"}
    assert run("errors", sim.resource).stdout == "No errors.\n"
    assert json.loads(run("errors", sim.resource, "--json").stdout) == []
    assert run("reset", sim.resource).returncode == 0


def test_a_list_program_from_yaml_runs_and_reports_each_sequence(sim: Simulator, tmp_path: Path) -> None:
    program = tmp_path / "program.yaml"
    program.write_text(PROGRAM)
    csv = tmp_path / "results.csv"
    result = run("list", "run", sim.resource, str(program), "--csv", str(csv))
    assert result.returncode == 0, result.stderr
    rows = result.stdout.splitlines()
    assert rows[0].split() == ["SEQ", "V", "A", "W", "Hz", "PF"]
    assert rows[2].split()[:2] == ["2", "230"]
    assert len(csv.read_text().splitlines()) == 3
    data = json.loads(run("--json", "list", "run", sim.resource, str(program)).stdout)
    assert [r["sequence"] for r in data] == [1, 2] and data[1]["frequency"] == 50


def test_a_list_program_with_a_mistake_names_its_line_and_sends_nothing(sim: Simulator, tmp_path: Path) -> None:
    program = tmp_path / "broken.yaml"
    program.write_text(PROGRAM.replace("    time: 100\n  - VoltageAcStart", "    tiem: 100\n  - VoltageAcStart"))
    mark = sim.mark()
    result = run("list", "run", sim.resource, str(program))
    assert result.returncode == 2
    assert f"{program}:10: unknown sequence setting 'tiem' (did you mean 'time'?)" in result.stderr
    program.write_text(PROGRAM.replace("frequency_start: 60", "frequency_start: sixty"))
    result = run("list", "run", sim.resource, str(program))
    assert f"{program}:7: 'sixty' for ListMode.Sequence.FrequencyStart: expected a finite number" in result.stderr
    program.write_text("sequences: [unclosed\n")
    assert run("list", "run", sim.resource, str(program)).returncode == 2
    assert sim.mark() == mark


def test_exactly_the_files_sequences_run_and_impossible_values_are_refused(sim: Simulator, tmp_path: Path) -> None:
    sequence = "  - voltage_ac_start: {v}\n    voltage_ac_end: {v}\n    frequency_start: 50\n    time_unit: millisecond\n    time: {t}\n"

    def program(*voltages: int, time: str = "50") -> Path:
        path = tmp_path / "p.yaml"
        path.write_text("sequences:\n" + "".join(sequence.format(v=v, t=time) for v in voltages))
        return path

    three = run("--json", "list", "run", sim.resource, str(program(100, 110, 120)))
    assert three.returncode == 0, three.stderr
    assert [r["voltage"] for r in json.loads(three.stdout)] == [100, 110, 120]
    one = run("--json", "list", "run", sim.resource, str(program(130)))
    assert one.returncode == 0, one.stderr
    assert [r["voltage"] for r in json.loads(one.stdout)] == [130]  # the earlier program's 2 and 3 are gone

    # A run from an output that is already on still runs the program.
    assert run("set", sim.resource, "OutputPhase1.Enabled=true").returncode == 0
    again = run("--json", "list", "run", sim.resource, str(program(140)))
    assert again.returncode == 0 and [r["voltage"] for r in json.loads(again.stdout)] == [140], again.stderr

    mark = sim.mark()
    over = run("list", "run", sim.resource, str(program(*range(150))))
    assert over.returncode == 2 and "the file has 150 sequences; a list program of the instrument holds at most 100" in over.stderr
    assert ":502:" in over.stderr  # the line of the 101st sequence
    for bad in ("nan", "inf", "1e999", "-1"):
        refused = run("list", "run", sim.resource, str(program(100, time=bad)))
        assert refused.returncode == 2 and "p.yaml:6:" in refused.stderr, (bad, refused.stderr)
    assert run("set", sim.resource, "OutputPhase1.VoltageLevel=nan").returncode == 2
    assert sim.mark() == mark  # none of it reached the instrument


def test_ctrl_c_during_a_list_run_switches_the_output_off_and_keeps_what_finished(sim: Simulator, tmp_path: Path) -> None:
    program = tmp_path / "long.yaml"
    program.write_text("sequences:\n" + "".join(
        f"  - voltage_ac_start: {v}\n    voltage_ac_end: {v}\n    frequency_start: 50\n    time: 2\n" for v in (100, 110, 120)))

    def interrupted(*extra: str) -> tuple[subprocess.CompletedProcess[str], Path]:
        csv = tmp_path / f"results{len(extra)}.csv"
        process = subprocess.Popen([CLI, "list", "run", sim.resource, str(program), "--csv", str(csv), *extra],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        time.sleep(1.5)
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=30)
        return subprocess.CompletedProcess(process.args, process.returncode, out, err), csv

    result, csv = interrupted()
    assert result.returncode == 130, result.stderr
    assert "interrupted" in result.stderr and "switched off" in result.stderr
    assert csv.read_text().splitlines()[0].startswith("sequence,voltage_ac,")
    # Another process sees the output off.
    assert run("get", sim.resource, "OutputPhase1.Enabled").stdout.strip().endswith("= false")

    result, _ = interrupted("--leave-on")
    assert result.returncode == 130 and "left on" in result.stderr, result.stderr
    assert run("get", sim.resource, "OutputPhase1.Enabled").stdout.strip().endswith("= true")
    assert run("set", sim.resource, "OutputPhase1.Enabled=false").returncode == 0


def test_the_live_view_redraws_on_a_terminal_and_stops_on_ctrl_c(sim: Simulator) -> None:
    controller, terminal = pty.openpty()
    process = subprocess.Popen([CLI, "measure", sim.resource, "--watch", "0.1"], stdout=terminal, stderr=terminal)
    os.close(terminal)
    seen = b""
    deadline = time.monotonic() + 10
    while seen.count(b"\x1b[3A") < 2 and time.monotonic() < deadline:
        if select.select([controller], [], [], 0.2)[0]:
            seen += os.read(controller, 4096)
    process.send_signal(signal.SIGINT)
    assert process.wait(10) == 0
    try:
        while select.select([controller], [], [], 0.2)[0]:
            seen += os.read(controller, 4096)
    except OSError:
        pass
    os.close(controller)
    assert seen.count(b"\x1b[3A") >= 2, seen  # the table drawn again in place
    assert b"Stopped." in seen

    # Not a terminal: one plain line per reading.
    process = subprocess.Popen([CLI, "measure", sim.resource, "--watch", "0.05"], stdout=subprocess.PIPE, text=True)
    time.sleep(0.5)
    process.send_signal(signal.SIGINT)
    output, _ = process.communicate(timeout=10)
    assert process.returncode == 0
    lines = output.splitlines()
    assert len(lines) >= 2 and all(re.fullmatch(r"\S+,OutputPhase1(,[-\d.e+]+){4}", line) for line in lines), lines


def test_a_trace_written_through_the_tool_renders_to_a_page(tmp_path: Path) -> None:
    trace = tmp_path / "session"
    done = run("set", "", "--simulate", "--options", f"DriverSetup=Trace=true, TraceName={trace}",
               "ManualMode.Frequency=50")
    assert done.returncode == 0, done.stderr
    page = run("trace", "view", f"{trace}.xml", "-o", str(tmp_path / "page.html"))
    assert page.returncode == 0, page.stderr
    html = (tmp_path / "page.html").read_text()
    assert html.count('<tr class="call"') >= 3 and "put_Frequency" in html
    assert run("trace", "view", str(tmp_path / "missing.xml")).returncode == 2


def test_the_trace_viewer_reads_long_calls_and_traces_cut_short(tmp_path: Path) -> None:
    record = ('\t<Method Name="{0}" Interface="IIviDriver" StartTime="1:2:3:4" Thread="1" Timestamp="1">\r\n'
              '\t\t<HRESULT Value="0x00000000"/>\r\n\t\t<Execution ExecutionTime="{1}"/>\r\n\t</Method>\r\n')
    text = ('<?xml version="1.0"?>\r\n<TraceRecords>\r\n' + record.format("Slow", "1.204296e+00")
            + record.format("Quick", "2.000000e-06") + '\t<Method Name="Cut" Interface="IIviDriver"')
    trace = tmp_path / "killed.xml"
    trace.write_text(text)
    page = run("trace", "view", str(trace), "-o", str(tmp_path / "page.html"))
    assert page.returncode == 0, page.stderr
    assert "incomplete" in page.stderr and "2 records" in page.stderr
    html = (tmp_path / "page.html").read_text()
    assert "1204.296 ms" in html and "This trace is incomplete" in html and "Cut" not in html
    slowest = html[html.index('id="slowest"'):]
    assert slowest.index("Slow") < slowest.index("Quick")
    assert not (tmp_path / "page.html.complete.xml").exists()


def test_logical_names_from_the_store_survive_concurrent_and_interrupted_editors(sim: Simulator, tmp_path: Path) -> None:
    env = dict(os.environ, ZPV4870_CONFIG_STORE=str(tmp_path / "ivi" / "store.xml"))

    def config(*args: str, **extra: str) -> subprocess.CompletedProcess[str]:
        return subprocess.run([CLI, "config", *args], capture_output=True, text=True, env={**env, **extra}, timeout=60)

    assert config("set-asset", "Bench", sim.resource).returncode == 0
    assert config("set-session", "Real", "--asset", "Bench").returncode == 0
    assert config("set-session", "Sim", "--simulate", "--model", "ZPV-4816-Standard").returncode == 0
    assert config("set-name", "PowerSource", "Real").returncode == 0
    identity = subprocess.run([CLI, "--json", "identify", "PowerSource"], capture_output=True, text=True, env=env)
    assert json.loads(identity.stdout)["model"] == "ZPV-4832-Advanced", identity.stderr
    simulated = subprocess.run([CLI, "get", "Sim", "Identity.InstrumentModel"], capture_output=True, text=True, env=env)
    assert simulated.stdout == "Identity.InstrumentModel = ZPV-4816-Standard\n", simulated.stderr

    # Two editors at once, 200 names each: every one arrives.
    def add(prefix: str) -> None:
        for i in range(200):
            assert config("set-name", f"{prefix}{i}", "Sim").returncode == 0

    editors = [threading.Thread(target=add, args=(p,)) for p in ("A", "B")]
    for e in editors:
        e.start()
    for e in editors:
        e.join()
    shown = json.loads(config("--json", "show").stdout)
    assert len(shown["logical_names"]) == 401

    # An editor killed while writing leaves the old store whole, and the next edit works.
    writer = subprocess.Popen([CLI, "config", "set-asset", "Lost", "TCPIP0::1.2.3.4::5025::SOCKET"], env={
        **env, "ZPV4870_STORE_WRITE_PAUSE_MS": "10000"})
    new_file = tmp_path / "ivi" / "store.xml.new"
    deadline = time.monotonic() + 10
    while not new_file.exists() and time.monotonic() < deadline:
        time.sleep(0.01)
    writer.kill()
    writer.wait()
    assert config("validate").returncode == 0
    assert "Lost" not in config("show").stdout
    assert config("set-asset", "Later", "TCPIP0::1.2.3.5::5025::SOCKET").returncode == 0
    assert "Later" in config("show").stdout
    # A broken store is named with its line, and no session opens from it.
    (tmp_path / "ivi" / "store.xml").write_text("<IviConfigurationStore>\n<LogicalName name='X'/>\n</IviConfigurationStore>")
    broken = config("validate")
    assert broken.returncode == 1 and "store.xml:2: <LogicalName> needs a \"session\" attribute" in broken.stderr


def test_store_edits_change_what_they_name_and_nothing_else(tmp_path: Path) -> None:
    real = tmp_path / "real" / "store.xml"
    real.parent.mkdir()
    real.write_text(
        '<?xml version="1.0"?>\n<!DOCTYPE IviConfigurationStore>\n<IviConfigurationStore>\n'
        '  <!-- kept by hand -->\n'
        '  <SoftwareModule name="ZPV4870" prefix="ZPV4870" modulePath="libzpv4870.so.1" progId="ZPV4870.ZPV4870"/>\n'
        '  <HardwareAsset name="A" resourceDescriptor="TCPIP0::10.0.0.1::5025::SOCKET" note="mine"/>\n'
        '  <HardwareAsset name="B" resourceDescriptor="TCPIP0::10.0.0.2::5025::SOCKET"/>\n'
        '  <DriverSession name="S" softwareModule="ZPV4870" hardwareAsset="A" simulate="true" driverSetup="Trace=false">\n'
        '    <Structure name="Configurable Initial Settings">\n'
        '      <Item name="Model" type="String" value="ZPV-4816-Standard"/>\n'
        '      <Item name="Extra" type="Integer" value="7"/>\n'
        '      <Structure name="Nested"><Item name="Deep" type="Real" value="1.5"/></Structure>\n'
        '    </Structure>\n'
        '  </DriverSession>\n'
        '</IviConfigurationStore>\n')
    real.chmod(0o600)
    link = tmp_path / "store-link.xml"
    link.symlink_to(real)
    env = dict(os.environ, ZPV4870_CONFIG_STORE=str(link))

    def config(*args: str) -> subprocess.CompletedProcess[str]:
        return subprocess.run([CLI, "config", *args], capture_output=True, text=True, env=env, timeout=60)

    before = real.read_text()
    done = config("set-session", "S", "--asset", "B")
    assert done.returncode == 0, done.stderr
    after = real.read_text()
    # One attribute changed; the rest of the file, comments, document type and all, is as it was.
    assert after == before.replace('hardwareAsset="A"', 'hardwareAsset="B"')
    assert link.is_symlink() and (real.stat().st_mode & 0o777) == 0o600
    assert config("set-session", "S", "--driver-setup", "Trace=true").returncode == 0
    assert config("set-session", "S", "--model", "ZPV-4848-Advanced").returncode == 0
    text = real.read_text()
    assert 'simulate="true"' in text and 'hardwareAsset="B"' in text and 'driverSetup="Trace=true"' in text
    assert 'value="ZPV-4848-Advanced"' in text and 'name="Extra"' in text and 'name="Deep"' in text
    assert "<!-- kept by hand -->" in text and "<!DOCTYPE IviConfigurationStore>" in text and 'note="mine"' in text

    # What the reader would refuse is never written; the store stays usable.
    for args in (("set-asset", "", "X"), ("set-session", ""), ("set-name", "", "S")):
        refused = config(*args)
        assert refused.returncode == 2, (args, refused.stdout, refused.stderr)
    for name in ("\x01", "bad\udcff\udcfe"):
        refused = subprocess.run([CLI.encode(), b"config", b"set-asset", name.encode("utf-8", "surrogateescape"), b"X"],
                                 capture_output=True, env=env, timeout=60)
        assert refused.returncode == 1 and b"was not written" in refused.stderr, refused.stderr
    assert real.read_text() == text
    assert config("validate").returncode == 0

    # Unknown entities and character references XML forbids are refused with their place.
    real.write_text('<!DOCTYPE s [<!ENTITY lol9 "x">]>\n<IviConfigurationStore>\n'
                    '<HardwareAsset name="&lol9;" resourceDescriptor="x"/>\n</IviConfigurationStore>\n')
    refused = config("validate")
    assert refused.returncode == 1 and ".xml:3: the entity reference &lol9;" in refused.stderr, refused.stderr


def test_the_manual_page_covers_every_command() -> None:
    help_text = run("--help").stdout
    commands = re.findall(r"^  (\w+) {2,}", help_text.split("Subcommands:")[1], re.M)
    manual = (ROOT / "docs" / "zpv4870.1").read_text()
    assert len(commands) == 14
    for command in commands:
        assert re.search(rf"^\.B {command}\b", manual, re.M), command


def test_option_names_the_driver_does_not_know_are_warned_about() -> None:
    misspelt = run("identify", "", "--simulate", "--options", "QueryInstrumentStatus=true, DriverSetup=Trace=false")
    assert misspelt.returncode == 0
    assert "warning: the driver does not know the option 'QueryInstrumentStatus'" in misspelt.stderr
    right = run("identify", "", "--simulate", "--options", "QueryInstrStatus=true, RangeCheck=false")
    assert right.returncode == 0 and "warning" not in right.stderr


def test_what_the_instrument_refuses_is_an_error_with_its_own_words(sim: Simulator) -> None:
    refused = run("set", sim.resource, "OutputPhase1.VoltageLevel=9999")
    assert refused.returncode == 1, refused.stdout
    assert "the instrument refused it: -2" in refused.stderr and "= " not in refused.stdout
    # Switched off on request: then only the error queue tells.
    unchecked = run("set", sim.resource, "OutputPhase1.VoltageLevel=9999", "--no-status-check")
    assert unchecked.returncode == 0
    assert run("errors", sim.resource).stdout.startswith("-2")


def test_the_timeout_holds_from_the_opening_identity_query() -> None:
    slow = Simulator("--delay-ms", "2500")
    try:
        default = run("identify", slow.resource)
        assert default.returncode == 1  # the driver's default timeout is shorter
        patient = run("identify", slow.resource, "--timeout", "6000", "--no-status-check")
        assert patient.returncode == 0, patient.stderr
        assert "Kaltrix" in patient.stdout
    finally:
        slow.stop()


def test_json_numbers_are_the_shortest_that_read_back() -> None:
    done = run("--json", "set", "--simulate", "OutputPhase1.VoltageLevel=2.3")
    assert done.returncode == 0, done.stderr
    assert '"OutputPhase1.VoltageLevel": 2.3' in done.stdout


def test_misspelt_names_get_the_close_one_suggested(tmp_path: Path) -> None:
    get = run("get", "", "--simulate", "OutputPhase2.VoltageLevl")
    assert get.returncode == 2 and "did you mean 'OutputPhase2.VoltageLevel'?" in get.stderr
    assert "did you mean" not in run("get", "", "--simulate", "Nonsense").stderr
    program = tmp_path / "p.yaml"
    program.write_text("sequences:\n  - voltage_ac_strat: 5\n")
    listed = run("list", "run", "", "--simulate", str(program))
    assert listed.returncode == 2 and "did you mean 'voltage_ac_start'?" in listed.stderr
    program.write_text("sequences:\n  - colour: 5\n")
    listed = run("list", "run", "", "--simulate", str(program))
    assert "(known: " in listed.stderr and "voltage_ac_start" in listed.stderr and "VoltageAcStart" not in listed.stderr


def test_json_lists_are_arrays_and_failures_are_json_too() -> None:
    identity = json.loads(run("--json", "identify", "", "--simulate").stdout)
    assert isinstance(identity["supported_models"], list) and "ZPV-4832-Advanced" in identity["supported_models"]
    failed = run("--json", "get", "", "--simulate", "Nonsense")
    assert failed.returncode == 2
    assert json.loads(failed.stdout) == {"error": "unknown attribute 'Nonsense' (zpv4870 attributes lists them)",
                                         "exit_status": 2}


def test_a_group_name_or_all_reads_every_attribute_below_it(sim: Simulator) -> None:
    group = run("get", sim.resource, "OutputPhase1")
    lines = group.stdout.splitlines()
    assert any(line.startswith("OutputPhase1.VoltageLevel = ") for line in lines), group.stderr
    assert all(line.startswith("OutputPhase1.") for line in lines) and len(lines) >= 10
    everything = json.loads(run("--json", "get", sim.resource, "--all").stdout)
    assert "ManualMode.Frequency" in everything and "OutputPhase1.VoltageLevel" in everything
    assert run("get", sim.resource).returncode == 2
    assert "did you mean" in run("get", sim.resource, "ManualMod").stderr


def test_simulate_runs_the_bundled_simulator_so_every_command_works_without_a_resource(tmp_path: Path) -> None:
    identity = json.loads(run("--json", "identify", "--simulate", "--model", "ZPV-4816-Standard").stdout)
    assert identity["model"] == "ZPV-4816-Standard"
    reading = run("--json", "measure", "--simulate")
    assert reading.returncode == 0 and set(json.loads(reading.stdout)) >= {"voltage", "current"}
    assert run("set", "--simulate", "ManualMode.Frequency=50", "OutputPhase1.VoltageLevel=120").returncode == 0
    refused = run("set", "--simulate", "OutputPhase1.VoltageLevel=9999")
    assert refused.returncode == 1 and "-224" in refused.stderr  # the simulator's own refusal
    everything = run("get", "--simulate", "--all")
    assert "ListMode.Sequence.Time" in everything.stdout
    program = tmp_path / "one.yaml"
    program.write_text("sequences:\n  - {voltage_ac_start: 100, frequency_start: 50, time: 200, time_unit: millisecond}\n")
    ran = run("--json", "list", "run", "--simulate", str(program))
    assert ran.returncode == 0, ran.stderr
    assert len(json.loads(ran.stdout)) == 1
    assert run("get", "--simulate", "TCPIP0::10.0.0.1::5025::SOCKET", "ManualMode.Frequency").returncode == 2


def test_scpi_sends_as_typed_prints_answers_and_stops_at_a_refusal(sim: Simulator, tmp_path: Path) -> None:
    log = tmp_path / "wire.log"
    done = run("--io-log", str(log), "scpi", sim.resource, "OUTP:FREQ 50", "OUTP:FREQ?", "*IDN?")
    assert done.returncode == 0, done.stderr
    assert done.stdout.splitlines()[0] == "50"
    assert done.stdout.splitlines()[1].startswith("Kaltrix,")
    lines = log.read_text().splitlines()
    sent = [line for line in lines if " > " in line]
    assert any(line.endswith(' 13 "OUTP:FREQ 50\\n" ok') for line in sent), sent
    assert any(' < ' in line and line.endswith(' 3 "50\\n" ok') for line in lines), lines
    assert all(re.match(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{6}Z \d+\.\d+ [<>] TCPIP0::", line) for line in lines)

    refused = run("--json", "scpi", sim.resource, "SYST:ALARM 12", "OUTP:FREQ 55")
    assert refused.returncode == 1
    assert "SYST:ALARM 12 failed: the instrument refused it: -224" in refused.stderr
    assert json.loads(refused.stdout)["exit_status"] == 1
    assert run("scpi", sim.resource, "OUTP:FREQ?").stdout.strip() == "50", "a command after the refusal was sent"
    assert run("scpi", sim.resource).returncode == 2
    unwritable = run("--io-log", str(tmp_path / "no" / "such" / "dir.log"), "scpi", sim.resource, "*IDN?")
    assert unwritable.returncode == 1 and "cannot open the I/O log" in unwritable.stderr


def test_the_scpi_prompt_edits_remembers_and_goes_on_after_a_refusal(sim: Simulator, tmp_path: Path) -> None:
    # From a pipe: lines as they come, every answer, and a refusal is the exit status.
    piped = subprocess.run([CLI, "scpi", sim.resource, "-i"], input="OUTP:FREQ 51\n\nBOGUS\n  OUTP:FREQ?  \n",
                           capture_output=True, text=True, timeout=60)
    assert piped.returncode == 1
    assert piped.stdout.splitlines() == ["refused: -113, Undefined header", "51"]
    assert run("scpi", sim.resource, "-i", "*IDN?").returncode == 2

    # On a terminal: the line editor, history across sessions, Ctrl-C forgets the line.
    env = dict(os.environ, XDG_STATE_HOME=str(tmp_path), TERM="xterm")

    def session(keys: list[bytes]) -> str:
        controller, terminal = pty.openpty()
        process = subprocess.Popen([CLI, "scpi", sim.resource, "-i"], stdin=terminal, stdout=terminal,
                                   stderr=terminal, env=env, start_new_session=True)
        os.close(terminal)
        seen = b""

        def until(text: bytes, count: int) -> None:
            nonlocal seen
            deadline = time.monotonic() + 10
            while seen.count(text) < count and time.monotonic() < deadline:
                if select.select([controller], [], [], 0.2)[0]:
                    seen += os.read(controller, 4096)

        for number, key in enumerate(keys, start=1):
            until(b"> ", number)
            os.write(controller, key)
        assert process.wait(10) == 0
        os.close(controller)
        return seen.decode(errors="replace")

    first = session([b"OUTP:FREQ 52\r", b"OUTP:FREQ?\r", b"half typed\x03", b"\x04"])
    assert "\n52\r\n" in first and "Undefined header" not in first, first
    # Up twice recalls the query of the session before, through the history file.
    second = session([b"OUTP:FREQ 53\r", b"\x1b[A\x1b[A\r", b"exit\r"])
    assert "\n53\r\n" in second, second
    assert "OUTP:FREQ?" in (tmp_path / "zpv4870" / "scpi_history").read_text()


def test_measure_watch_carries_on_across_an_instrument_restart() -> None:
    first = Simulator()
    port = first.port
    process = subprocess.Popen([CLI, "measure", first.resource, "--watch", "0.1", "--timeout", "500"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        time.sleep(0.6)
        first.process.kill()  # a power cut
        first.process.wait(10)
        time.sleep(0.6)
        second = Simulator("--port", str(port))
        try:
            time.sleep(1.0)
            process.send_signal(signal.SIGINT)
            output, errors = process.communicate(timeout=10)
        finally:
            second.stop()
    finally:
        if process.poll() is None:
            process.kill()
    assert process.returncode == 0, errors
    lines = output.splitlines()
    reading = re.compile(r"\S+,OutputPhase1(,[-\d.e+]+){4}")
    down = [i for i, line in enumerate(lines) if ",OutputPhase1,disconnected: " in line]
    assert down, lines
    assert any(reading.fullmatch(line) for line in lines[: down[0]]), "no reading before the cut"
    assert any(reading.fullmatch(line) for line in lines[down[-1] + 1:]), "no reading after the restart"
    assert all(reading.fullmatch(line) or ",disconnected: " in line for line in lines), lines
