#!/usr/bin/env python3
"""The options dialog end to end: its pages, rules and saving, the location search and favourites against the
loopback server, and the shortcuts, all driven through the real dialog's controls."""
import json
import os
import shutil
import subprocess
import sys
import urllib.parse

from harness import (MAIN_CLASS, SOURCE_DIR, check, click_at, decode_options, run_tests, under_default_code_page,
                     wait_until, windows_path, xdotool)

sys.path.insert(0, os.path.join(SOURCE_DIR, "tests", "server"))
from loopback_client import Server  # noqa: E402

WM_COMMAND = 0x111
OPTIONS_ACTION = 103
ADD_LOC_ACTION = 108
TITLE = "Ayarlar..."
IDOK, IDCANCEL = 1, 2
PAGES = 1000
CHECKBOX = {n: 1100 + n for n in range(1, 21)}
COMBOBOX1, COMBOBOX2, COMBOBOX3 = 1201, 1202, 1203
BUTTON3, BUTTON4, BUTTON5, BUTTON6, BUTTON7 = 1303, 1304, 1305, 1306, 1307
RADIO1, RADIO2, RADIO3 = 1401, 1402, 1403
LABEL10 = 1510
EDIT1, EDIT2 = 1601, 1602
LISTBOX1, LISTBOX2 = 1801, 1802
SHAPE1 = 1901
SERVER_DATA = os.path.join(SOURCE_DIR, "tests", "data", "server")
IZMIR_FEED = "/forecastrss/311046_c.xml"
SEARCH_PATH = "/search/search"
SCREENSHOTS = os.path.join(SOURCE_DIR, "build", "e2e", "screenshots")


def serve(s, search_reply=None):
    """A loopback server for this case: the usual documents, an İzmir feed and the given search reply."""
    root = os.path.join(s.folder, "server")
    shutil.copytree(SERVER_DATA, root)
    feed = open(os.path.join(root, "forecastrss", "TUXX0014_c.xml"), encoding="utf-8").read()
    with open(os.path.join(root, IZMIR_FEED.lstrip("/")), "w", encoding="utf-8") as f:
        f.write(feed.replace('city="İstanbul"', 'city="İzmir"'))
    if search_reply is not None:
        os.makedirs(os.path.join(root, "search"))
        with open(os.path.join(root, "search", "search"), "wb") as f:
            f.write(search_reply.encode("utf-8") if isinstance(search_reply, str) else search_reply)
    return Server(s.folder, root=root)


def options_for(server, extra=""):
    return (f"[Servers]\nWeather={server.base}\nSearch={server.base}\nWeb={server.base}\nAddress={server.base}\n"
            f"[General]\nCheckNewVersion=0\nFirstUsage=0\n{extra}")


def start(s, server, extra="", cities=True):
    s.write_options(options_for(server, extra), cities=cities)
    s.start()
    s.wait_for_window()
    # The actions are disabled while the first feed downloads.
    wait_until(lambda: server.requests("/forecastrss/TUXX0014_c.xml"), 60, "the first feed request")
    wait_until(lambda: (f := s.driver("tray")[1]) and f.get("tip", "").startswith("Nimbo! - "), 60,
               "the weather in the tray hint")


def open_options(s, action=OPTIONS_ACTION):
    check(s.driver("post", MAIN_CLASS, WM_COMMAND, action, 0)[0] == 0, "the action could not be posted")
    # The dialog shows itself once it is filled.
    wait_until(lambda: (r := s.driver("control", TITLE, PAGES))[0] == 0 and r[1]["visible"] == "1", 60,
               "the options dialog")


def control(s, control_id):
    code, facts = s.driver("control", TITLE, control_id)
    check(code == 0, f"control {control_id} not found")
    facts.setdefault("texts", [])
    return facts


def items(s, control_id):
    code, facts = s.driver("control", TITLE, control_id)
    check(code == 0, f"control {control_id} not found")
    # The driver prints item=... lines; the harness keeps only the first of a key, so read them again.
    out = open(os.path.join(s.folder, "driver.out"), encoding="utf-8").read().splitlines()
    return [line[5:] for line in out if line.startswith("item=")]


def do(s, *args):
    check(s.driver(*args)[0] == 0, f"driver {' '.join(map(str, args))} failed")


def click(s, control_id):
    do(s, "click", TITLE, control_id)


def select(s, control_id, index):
    do(s, "select", TITLE, control_id, index)


def wait_control(s, control_id, predicate, what):
    return wait_until(lambda: (f := control(s, control_id)) and predicate(f) and f, 60, what)


def dialog_open(s):
    return s.driver("control", TITLE, PAGES)[0] == 0


def press_save(s):
    click(s, IDOK)
    wait_until(lambda: not dialog_open(s), 60, "the options dialog to close")


def message(s):
    """Waits for the error box, returns its texts and closes it."""
    texts = s.wait_for_dialog("Hata")
    do(s, "dialog-press", "Hata", IDOK)
    wait_until(lambda: s.driver("dialog-text", "Hata")[0] != 0, 60, "the error box to close")
    return texts


def with_server(search_reply=None, extra="", cities=True):
    def wrap(test):
        def run(s):
            server = serve(s, search_reply)
            try:
                start(s, server, extra, cities)
                test(s, server)
            finally:
                server.close()

        run.__name__ = test.__name__
        return run

    return wrap


def options_bytes(s):
    return open(s.options_path, "rb").read()


@with_server(extra="[Appearance]\nLastTabSheet=1\n")
def test_options_action_opens_the_stored_page_and_add_place_the_places_page(s, server):
    open_options(s)
    check(control(s, PAGES)["selected"] == "1", "OptionsAction did not open the stored page")
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
    open_options(s, ADD_LOC_ACTION)
    check(control(s, PAGES)["selected"] == "2", "AddLocAction did not open the places page")


@with_server()
def test_ctrl_tab_turns_the_pages(s, server):
    open_options(s)
    for keys, page in (("ctrl+Tab", "1"), ("ctrl+Tab", "2"), ("ctrl+Tab", "0"), ("ctrl+shift+Tab", "2")):
        xdotool(s, "key", keys)
        wait_control(s, PAGES, lambda f: f["selected"] == page, f"page {page} after {keys}")
    check(control(s, RADIO1)["visible"] == "1", "the places page is not shown with its tab")


@with_server()
def test_missing_keys_show_the_defaults_and_cancel_changes_nothing(s, server):
    open_options(s)
    before = options_bytes(s)
    check(control(s, PAGES)["selected"] == "0", "the first page is not shown")
    check(control(s, COMBOBOX3)["selected"] == "0", "the period does not show 5 dk.")
    check(control(s, COMBOBOX2)["selected"] == "2", "the background does not show Kalın cam")
    check(control(s, EDIT1)["texts"] == ["240"], "the opacity does not show 240")
    # General/CheckNewVersion=0 is the one key the case writes.
    for number, checked in ((1, "1"), (18, "1"), (19, "1"), (3, "1"), (2, "1"), (4, "0"), (17, "1"), (16, "0"),
                            (5, "0"), (20, "1"), (15, "1"), (6, "1"), (7, "0"), (14, "0")):
        check(control(s, CHECKBOX[number])["checked"] == checked, f"CheckBox{number} is not {checked}")
    cities = items(s, COMBOBOX1)
    check(len(cities) == 81 and cities[0] == "Adana" and cities[-1] == "Zonguldak", f"Turkey list: {cities[:3]}")
    check(control(s, COMBOBOX1)["selected"] == "-1", "a city is selected")
    select(s, COMBOBOX1, cities.index("İzmir"))
    click(s, CHECKBOX[4])
    wait_control(s, CHECKBOX[4], lambda f: f["checked"] == "1", "the click on CheckBox4")
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
    check(options_bytes(s) == before, "Cancel changed Options.ini")
    check(not server.requests(IZMIR_FEED), "Cancel started a download of the picked place")


@with_server()
def test_a_refused_save_before_the_dialog_shows_the_error_and_the_widget_goes_on(s, server):
    s.make_read_only(s.options_path)
    check(s.driver("post", MAIN_CLASS, WM_COMMAND, OPTIONS_ACTION, 0)[0] == 0, "OptionsAction could not be posted")
    texts = s.wait_for_dialog("Nimbo!")
    check(f"Unable to write to {windows_path(s.options_path)}." in texts, f"unexpected error box: {texts}")
    do(s, "dialog-press", "Nimbo!", IDOK)
    check(not dialog_open(s), "the dialog opened although the widget's state could not be saved")
    subprocess.run(["chattr", "-i", s.options_path], check=True)
    subprocess.run(["chmod", "u+w", s.options_path], check=True)
    open_options(s)
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")


@with_server(extra="[Appearance]\nBackground=2\nBackColor=255\nGlassEffect=1\nGlassOpacity=77\n")
def test_thick_glass_disables_colour_glass_and_opacity_and_saving_keeps_them(s, server):
    open_options(s)
    for control_id in (SHAPE1, CHECKBOX[5], EDIT1):
        check(control(s, control_id)["enabled"] == "0", f"control {control_id} is enabled with Kalın cam")
    select(s, COMBOBOX2, 4)
    wait_control(s, EDIT1, lambda f: f["enabled"] == "1", "the opacity box enabled by Renk belirle...")
    select(s, COMBOBOX2, 2)
    wait_control(s, EDIT1, lambda f: f["enabled"] == "0", "the opacity box disabled again")
    # Without the information window its ten lines are disabled, yet keep and save their states.
    click(s, CHECKBOX[20])
    wait_control(s, CHECKBOX[15], lambda f: f["enabled"] == "0", "the information lines disabled")
    check(control(s, CHECKBOX[15])["checked"] == "1", "a disabled information line lost its tick")
    select(s, PAGES, 1)
    wait_control(s, PAGES, lambda f: f["selected"] == "1", "the appearance page")
    press_save(s)
    appearance = s.read_options()["Appearance"]
    check((appearance["BackColor"], appearance["GlassEffect"], appearance["GlassOpacity"]) == ("255", "1", "77"),
          f"the old values were not written back: {appearance}")
    check((appearance["ShowInfoText"], appearance["ShowWeatherText"], appearance["LastTabSheet"]) == ("0", "1", "1"),
          f"information switches or page not saved: {appearance}")


@with_server(extra="[Appearance]\nBackground=4\nGlassEffect=1\nGlassOpacity=100\n")
def test_an_opacity_outside_0_to_255_keeps_the_dialog_open(s, server):
    open_options(s)
    for bad in ("256", "-1", "abc"):
        do(s, "set-text", TITLE, EDIT1, bad)
        click(s, IDOK)
        texts = message(s)
        check("Saydamlık 0-255 arasında olmalıdır" in texts, f"unexpected message for {bad}: {texts}")
        check(dialog_open(s), f"the dialog closed after {bad}")
        check(control(s, EDIT1)["texts"] == ["100"], f"the previous opacity was not restored after {bad}")
    do(s, "set-text", TITLE, EDIT1, "300")
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
    check(s.driver("dialog-text", "Hata")[0] != 0, "Cancel showed a message")
    check(s.read_options()["Appearance"]["GlassOpacity"] == "100", "Cancel wrote the opacity")


STN_CLICKED = 0
COLOR_RED, COLOR_GREEN, COLOR_BLUE = 706, 707, 708


def colour_dialog(s):
    """The title of the colour dialog once it is shown."""
    def other_title():
        s.driver("titles")
        out = open(os.path.join(s.folder, "driver.out"), encoding="utf-8").read().splitlines()
        titles = [line[6:] for line in out if line.startswith("title=") and line[6:] not in (TITLE, "")]
        return titles[0] if titles else None
    return wait_until(other_title, 60, "the colour dialog")


@with_server(extra="[Appearance]\nBackground=4\nBackColor=255\n")
def test_the_swatch_opens_the_colour_dialog_and_its_choice_is_saved(s, server):
    open_options(s)
    do(s, "notify", TITLE, SHAPE1, STN_CLICKED)
    title = colour_dialog(s)
    values = [s.driver("control", title, box)[1].get("texts", [""])[0] for box in (COLOR_RED, COLOR_GREEN, COLOR_BLUE)]
    check(values == ["255", "0", "0"], f"the colour dialog did not start at the swatch's colour: {values}")
    for box, value in ((COLOR_RED, "0"), (COLOR_GREEN, "128"), (COLOR_BLUE, "64")):
        do(s, "set-text", title, box, value)
    do(s, "click", title, IDOK)
    wait_until(lambda: s.driver("control", title, IDOK)[0] != 0, 60, "the colour dialog to close")
    press_save(s)
    check(s.read_options()["Appearance"]["BackColor"] == str(64 * 65536 + 128 * 256),
          f"the chosen colour was not saved: {s.read_options()['Appearance']}")


@with_server(extra="[Appearance]\nBackground=4\nLastTabSheet=1\n")
def test_the_right_mouse_button_on_the_swatch_opens_the_colour_dialog_too(s, server):
    open_options(s)
    swatch = control(s, SHAPE1)
    x, y = int(swatch["left"]) + int(swatch["width"]) // 2, int(swatch["top"]) + int(swatch["height"]) // 2
    click_at(s, x, y, button=3)
    title = colour_dialog(s)
    do(s, "click", title, IDCANCEL)
    wait_until(lambda: s.driver("control", title, IDOK)[0] != 0, 60, "the colour dialog to close")


@with_server()
def test_picking_izmir_saves_it_and_downloads_its_weather(s, server):
    open_options(s, ADD_LOC_ACTION)
    select(s, COMBOBOX1, items(s, COMBOBOX1).index("İzmir"))
    wait_control(s, BUTTON3, lambda f: f["enabled"] == "1", "the add button for the picked city")
    press_save(s)
    location = s.read_options()["Location"]
    check((location["CityName"], location["CityID"]) == ("İzmir", "311046"), f"location not saved: {location}")
    wait_until(lambda: server.requests(IZMIR_FEED), 60, "the feed request for İzmir")
    wait_until(lambda: s.driver("tray")[1].get("tip", "").startswith("Nimbo! - İzmir, "), 60,
               "İzmir in the tray hint")
    s.screenshot("izmir.png")


THREE_PLACES = ('<?xml version="1.0" encoding="UTF-8"?><search><loc id="298333">Şanlıurfa, Türkiye</loc>'
                '<loc id="1">Paris, France</loc><loc id="2">Paris, France</loc></search>')


@with_server(search_reply=THREE_PLACES)
def test_search_lists_the_reply_in_order_and_sends_the_query_as_one_value(s, server):
    open_options(s, ADD_LOC_ACTION)
    check(control(s, EDIT2)["enabled"] == "0", "the search box is enabled in the Turkey mode")
    click(s, RADIO2)
    wait_control(s, EDIT2, lambda f: f["enabled"] == "1", "the search mode")
    check(control(s, BUTTON5)["enabled"] == "0", "the search button is enabled with an empty box")
    do(s, "set-text", TITLE, EDIT2, "Şanlıurfa & co")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button for a typed query")
    click(s, BUTTON5)
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the count of places found")
    check(items(s, LISTBOX1) == ["Şanlıurfa, Türkiye", "Paris, France", "Paris, France"], "results not in order")
    request = server.requests(SEARCH_PATH)[-1]
    check(request["query"] == "where=%C5%9Eanl%C4%B1urfa%20%26%20co", f"query: {request['query']}")
    check(urllib.parse.parse_qs(request["query"]) == {"where": ["Şanlıurfa & co"]}, "not one where value")
    check(request["headers"].get("User-Agent") == "Velmor XML Search", f"user agent: {request['headers']}")
    select(s, LISTBOX1, 2)
    wait_control(s, BUTTON4, lambda f: f["enabled"] == "1", "the add button for the chosen result")
    # The server goes away: the next search is refused. Clicks are handled in order: once the mode has changed, the
    # search has started, and its end puts the count back.
    server.close()
    click(s, BUTTON5)
    click(s, RADIO3)
    wait_control(s, LISTBOX1, lambda f: f["enabled"] == "0", "the search and the mode's change")
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the refused search to end")
    check(items(s, LISTBOX1) == [], "results listed after a refused connection")


ONE_PLACE = '<search><loc id="9998">Yavaş Yer</loc></search>'


@with_server(search_reply=THREE_PLACES)
def test_the_search_runs_while_the_dialog_answers_and_a_late_answer_is_dropped(s, server):
    # The server holds the answer to "Yavas" until the test releases it; "Paris" is answered at once.
    with open(os.path.join(s.folder, "server", "search", "search?where=Yavas"), "w", encoding="utf-8") as f:
        f.write(ONE_PLACE)
    slow = urllib.parse.quote(SEARCH_PATH + "?where=Yavas", safe="")
    held = lambda: json.loads(server.get("/_control/held"))  # noqa: E731
    server.get(f"/_control/rule?path={slow}&mode=hold")
    open_options(s, ADD_LOC_ACTION)
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "Yavas")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    click(s, BUTTON5)
    wait_until(lambda: held() == {SEARCH_PATH + "?where=Yavas": 1}, 60, "the first search at the server")
    check(control(s, LABEL10)["texts"] == ["Aranıyor..."], "the count does not say that a search runs")
    # Meanwhile the dialog answers, and a new search replaces the one that waits.
    do(s, "set-text", TITLE, EDIT2, "Paris")
    click(s, BUTTON5)
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the second search's count")
    check(held() == {SEARCH_PATH + "?where=Yavas": 1}, "the first search had ended before the second one was made")
    # The first search's answer comes late and is dropped: a click posted after it finds the second one's list.
    server.get(f"/_control/release?path={slow}")
    wait_until(lambda: held() == {}, 60, "the late answer")
    click(s, RADIO3)
    wait_control(s, LISTBOX1, lambda f: f["enabled"] == "0", "the click after the late answer")
    check(items(s, LISTBOX1) == ["Şanlıurfa, Türkiye", "Paris, France", "Paris, France"], "the late answer was listed")
    check(control(s, LABEL10)["texts"] == ["3 yer bulundu."], "the late answer changed the count")
    # The dialog closes at once while a search waits, and the widget goes on.
    server.get(f"/_control/rule?path={slow}&mode=hold")
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "Yavas")
    click(s, BUTTON5)
    wait_until(lambda: held() == {SEARCH_PATH + "?where=Yavas": 1}, 60, "the third search at the server")
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
    check(held() == {SEARCH_PATH + "?where=Yavas": 1}, "the dialog waited for its search")
    server.get(f"/_control/release?path={slow}")
    open_options(s, ADD_LOC_ACTION)
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close again")


@with_server(search_reply=THREE_PLACES)
def test_enter_in_the_search_box_searches_instead_of_saving(s, server):
    open_options(s, ADD_LOC_ACTION)
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "Paris")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    # The click on the mode puts the focus into the search box.
    xdotool(s, "key", "Return")
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the search started by Enter")
    check(dialog_open(s), "Enter in the search box closed the dialog")


@with_server(search_reply="<html><body>Bakımdayız</body></html>")
def test_a_reply_that_is_no_search_document_lists_nothing(s, server):
    open_options(s, ADD_LOC_ACTION)
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "Ankara")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    click(s, BUTTON5)
    wait_control(s, LABEL10, lambda f: f["texts"] == ["Herhangi bir yer bulunamadı."], "the count of nothing found")
    check(items(s, LISTBOX1) == [], "a reply that is no search document listed places")
    check(control(s, BUTTON5)["enabled"] == "1", "the dialog is not usable after the reply")


FAVOURITE_RESULTS = ('<search><loc id="9">ANKARA</loc><loc id="66">Kötü&#13;&#10;[General]&#13;&#10;Hostile'
                     '</loc><loc id="7">Bursa</loc></search>')


@with_server(search_reply=FAVOURITE_RESULTS, extra="[Favorites]\nAnkara=323786\n")
def test_favourites_are_added_from_both_lists_and_removed_by_the_rules(s, server):
    open_options(s, ADD_LOC_ACTION)
    select(s, COMBOBOX1, items(s, COMBOBOX1).index("İzmir"))
    wait_control(s, BUTTON3, lambda f: f["enabled"] == "1", "the add button for the picked city")
    click(s, BUTTON3)
    wait_until(lambda: items(s, LISTBOX2) == ["Ankara", "İzmir"], 60, "İzmir among the favourites")
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "a")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    click(s, BUTTON5)
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the results")
    results = items(s, LISTBOX1)
    check(results == ["ANKARA", "Kötü [General] Hostile", "Bursa"], f"results: {results}")
    select(s, LISTBOX1, 0)
    wait_control(s, BUTTON4, lambda f: f["enabled"] == "1", "the add button for a result")
    click(s, BUTTON4)
    texts = message(s)
    check('"ANKARA" favorilerim listesine zaten eklenmiş.' in texts, f"no duplicate message: {texts}")
    for index in (1, 2):
        select(s, LISTBOX1, index)
        wait_control(s, LISTBOX1, lambda f: f["selected"] == str(index), "the chosen result")
        click(s, BUTTON4)
    expected = ["Ankara", "Bursa", "İzmir", "Kötü [General] Hostile"]
    wait_until(lambda: items(s, LISTBOX2) == expected, 60, "four favourites in order")
    click(s, RADIO3)
    # Removing the last selects the new last; removing the first selects the new first.
    select(s, LISTBOX2, 3)
    wait_control(s, BUTTON6, lambda f: f["enabled"] == "1", "the remove button")
    click(s, BUTTON6)
    wait_control(s, LISTBOX2, lambda f: f["selected"] == "2", "the new last entry selected")
    check(items(s, LISTBOX2) == expected[:3], "the last entry was not removed")
    select(s, LISTBOX2, 0)
    click(s, BUTTON6)
    wait_control(s, LISTBOX2, lambda f: f["selected"] == "0", "the new first entry selected")
    check(items(s, LISTBOX2) == ["Bursa", "İzmir"], "the first entry was not removed")
    # Bring the hostile name back and save.
    click(s, RADIO2)
    select(s, LISTBOX1, 1)
    wait_control(s, BUTTON4, lambda f: f["enabled"] == "1", "the add button for a result")
    click(s, BUTTON4)
    wait_until(lambda: len(items(s, LISTBOX2)) == 3, 60, "the hostile name among the favourites")
    press_save(s)
    options = s.read_options()
    check(options["Favorites"] == {"Bursa": "7", "İzmir": "311046", "Kötü [General] Hostile": "66"},
          f"favourites: {options['Favorites']}")
    lines = decode_options(open(s.options_path, "rb").read()).splitlines()
    check(lines.count("[General]") == 1 and "Hostile" not in options["General"], f"a name broke the file: {lines}")
    # The search result chosen last is the widget's place now.
    check(options["Location"]["CityID"] == "66", f"location: {options['Location']}")


@with_server(extra="[Favorites]\nAnkara=323786\nBursa=7\n")
def test_clearing_the_favourites_and_saving_leaves_no_section(s, server):
    open_options(s, ADD_LOC_ACTION)
    click(s, RADIO3)
    select(s, LISTBOX2, 1)
    wait_control(s, BUTTON7, lambda f: f["enabled"] == "1", "Tümünü Sil")
    click(s, BUTTON7)
    wait_until(lambda: items(s, LISTBOX2) == [], 60, "an empty favourites list")
    press_save(s)
    check("Favorites" not in s.read_options(), "a Favorites section stayed")


def link_paths(s):
    paths = []
    for csidl, below in ((0, ""), (7, ""), (26, "\\Microsoft\\Internet Explorer\\Quick Launch")):
        code, facts = s.driver("folder", csidl)
        check(code == 0, f"special folder {csidl} unknown")
        paths.append(facts["path"] + below + "\\Nimbo!.lnk")
    return paths


def link_exists(s, path):
    return s.driver("link", path)[0] == 0


@with_server()
def test_shortcuts_follow_the_three_boxes(s, server):
    desktop, startup, quick = link_paths(s)
    for path in (desktop, startup, quick):
        do(s, "delete", path)
    open_options(s)
    press_save(s)
    exe = windows_path(os.path.join(s.install, "Nimbo.exe"))
    for path in (desktop, startup, quick):
        code, facts = s.driver("link", path)
        check(code == 0, f"no shortcut {path}")
        check(facts["target"].lower() == exe.lower(), f"{path} points at {facts['target']}")
        check(facts["folder"].lower() == exe.lower()[:exe.rfind("\\") + 1], f"{path} works in {facts['folder']}")
    open_options(s)
    click(s, CHECKBOX[1])
    wait_control(s, CHECKBOX[1], lambda f: f["checked"] == "0", "Startup unticked")
    press_save(s)
    check(not link_exists(s, startup), "the Startup shortcut stayed")
    check(link_exists(s, desktop) and link_exists(s, quick), "another shortcut went with the Startup one")
    # Cancel never touches them; a shortcut deleted by hand comes back at the next save.
    do(s, "delete", desktop)
    open_options(s)
    click(s, CHECKBOX[1])
    wait_control(s, CHECKBOX[1], lambda f: f["checked"] == "1", "Startup ticked")
    click(s, IDCANCEL)
    wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
    check(not link_exists(s, desktop) and not link_exists(s, startup), "Cancel created a shortcut")
    open_options(s)
    press_save(s)
    check(link_exists(s, desktop), "the deleted desktop shortcut did not come back")
    check(not link_exists(s, startup), "the Startup shortcut came back although its box is unticked")


def save_page_screenshots(s, name):
    os.makedirs(SCREENSHOTS, exist_ok=True)
    for page in range(3):
        select(s, PAGES, page)
        wait_control(s, PAGES, lambda f: f["selected"] == str(page), f"page {page}")
        shutil.copy(s.screenshot(f"{name}-{page}.png"), os.path.join(SCREENSHOTS, f"{name}-{page}.png"))


@with_server(search_reply=THREE_PLACES, extra="[Favorites]\nAnkara=323786\nİzmir=311046\n")
def test_the_three_pages_on_screen(s, server):
    open_options(s)
    click(s, RADIO2)
    do(s, "set-text", TITLE, EDIT2, "Şanlıurfa")
    wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
    click(s, BUTTON5)
    wait_control(s, LABEL10, lambda f: f["texts"] == ["3 yer bulundu."], "the results")
    save_page_screenshots(s, "options")


def start_and_wait_for_the_feed(s):
    """Starts the widget and waits until its first download has ended (the actions are disabled meanwhile)."""
    widget = s.start()
    s.wait_for_window()
    wait_until(lambda: s.driver("tray")[1].get("tip", "").startswith("Nimbo! - "), 60, "the end of the first download")
    return widget


def exit_widget(s, widget):
    check(s.run("/exit") == 0, "the closing start did not end with code 0")
    s.wait_for_exit(widget)


@under_default_code_page
def test_turkish_names_survive_the_default_code_page(s):
    server = serve(s, '<search><loc id="298333">Şanlıurfa, Türkiye</loc></search>')
    try:
        # An earlier version's file on such a system, in Windows-1252 (where "Þ" is the byte that Windows-1254
        # reads as "Ş"), with a place that has no feed here.
        s.write_options(options_for(server, "[Location]\nCityName=Þórshöfn\nCityID=2611396\n"
                                            "[Favorites]\nZürich=2657896\n"), cities=False, ansi="cp1252")
        exit_widget(s, start_and_wait_for_the_feed(s))
        data = open(s.options_path, "rb").read()
        options = s.read_options()
        check(data.startswith(b"\xff\xfe"), "the first write did not make the file UTF-16LE")
        check((options["Location"]["CityName"], options["Favorites"]) == ("Þórshöfn", {"Zürich": "2657896"}),
              f"the ANSI file was not read through the code page: {options}")

        # The setup then lays its Turkey list into the file.
        s.write_options(decode_options(data).replace("\r\n", "\n"))
        widget = start_and_wait_for_the_feed(s)
        open_options(s, ADD_LOC_ACTION)
        shipped = decode_options(open(os.path.join(SOURCE_DIR, "resources", "Options.ini"), "rb").read())
        cities = [line.split("=")[0] for line in shipped[shipped.index("[CitiesTU]"):].splitlines()[1:]]
        check(items(s, COMBOBOX1) == cities and "İzmir" in cities, f"the Turkey list: {items(s, COMBOBOX1)[:5]}")
        click(s, RADIO2)
        do(s, "set-text", TITLE, EDIT2, "Şanlıurfa")
        wait_control(s, BUTTON5, lambda f: f["enabled"] == "1", "the search button")
        click(s, BUTTON5)
        wait_control(s, LABEL10, lambda f: f["texts"] == ["1 yer bulundu."], "the search result")
        select(s, LISTBOX1, 0)
        wait_control(s, BUTTON4, lambda f: f["enabled"] == "1", "the add button for the result")
        click(s, BUTTON4)
        click(s, RADIO1)
        select(s, COMBOBOX1, cities.index("İstanbul"))
        wait_control(s, BUTTON3, lambda f: f["enabled"] == "1", "the add button for İstanbul")
        click(s, BUTTON3)
        favourites = ["İstanbul", "Şanlıurfa, Türkiye", "Zürich"]
        wait_until(lambda: items(s, LISTBOX2) == favourites, 60, "three favourites")
        press_save(s)
        exit_widget(s, widget)
        options = s.read_options()
        check(options["Location"] == {"CityName": "İstanbul", "CityID": "745044"}, f"the place: {options['Location']}")
        check(options["Favorites"] == {"İstanbul": "745044", "Şanlıurfa, Türkiye": "298333", "Zürich": "2657896"},
              f"the favourites: {options['Favorites']}")

        # And the widget reads them back as they were.
        widget = start_and_wait_for_the_feed(s)
        open_options(s, ADD_LOC_ACTION)
        check(items(s, LISTBOX2) == favourites, f"the favourites after a restart: {items(s, LISTBOX2)}")
        click(s, IDCANCEL)
        wait_until(lambda: not dialog_open(s), 60, "the dialog to close")
        exit_widget(s, widget)
    finally:
        server.close()


if __name__ == "__main__":
    run_tests(globals())
