"""When the web fails: the program's own failure page in place of a dead site, one click to
the category's other sites, no storm of requests, and loading that shows while it lasts.

The Japanese dictionary category is the stage: its five hosts are made to fail in the ways a
site fails (the site server fails on request; a refused connection comes from the browser's
own resolver), and the cases go from one site to the next through the failure page itself.
"""

import re
import socket
import time

import desktop_helpers as desk
import test_lookup_flow
from harness import (FAILURE_PAGE_PREFIX, DevToolsPage, E2ETestCase, SiteServer, close_to,
                     shown_address, site_query_url, wait_until)
from test_lookup_flow import (QUIET_SECONDS, LookupSession, request_line,
                              start_and_wait_for_start_page)

TEXT = "辞書"
HEADINGS = {
    "refuse": "サイトに接続できません",
    "reset": "サイトとの接続が切れました",
    "stall": "サイトが応答しません",
    "404-empty": "サイトがエラーを返しました",
    "500-empty": "サイトがエラーを返しました",
}
RELOAD_NOTE = "再読み込みすると、このアドレスをもう一度開きます"
# The category's menu order; goo and goo2 share a host, as do the two infoseek entries.
KOKUGO = ["yahoo2_kokugo", "goo2_kokugo", "goo_kokugo", "infoseek_kokugo",
          "infoseek2_kokugo", "Excite_kokugo", "weblio_kokugo"]
HOSTS = {
    "yahoo2_kokugo": "dic.yahoo.co.jp",
    "goo2_kokugo": "dictionary.goo.ne.jp",
    "goo_kokugo": "dictionary.goo.ne.jp",
    "infoseek_kokugo": "dictionary.infoseek.ne.jp",
    "infoseek2_kokugo": "dictionary.infoseek.ne.jp",
    "Excite_kokugo": "www.excite.co.jp",
    "weblio_kokugo": "www.weblio.jp",
}
# The program's own limit on a site that says nothing.
RESPONSE_TIMEOUT = 20.0


def query(key: str, text: str = TEXT) -> str:
    return site_query_url(key, text)




class FailurePageCase(E2ETestCase):

    def start(self):
        self.flow = LookupSession(self, self.session)
        self.window = start_and_wait_for_start_page(self.session)

    def body_text(self) -> str:
        with DevToolsPage(self.session.devtools_pages()[0]["webSocketDebuggerUrl"]) as page:
            return page.evaluate("document.body ? document.body.innerText : ''") or ""

    def wait_failure_page(self, heading: str, address: str, timeout: float = 20.0) -> str:
        """The failure page with this heading is shown for address; returns its text. The
        address tells it from a page with the same heading that the tab showed before."""
        def shown():
            # One evaluation in the document itself: the target list names a pending load's
            # address while the page before it, which may have the same heading, still stands.
            try:
                with DevToolsPage(self.session.devtools_pages()[0]["webSocketDebuggerUrl"]) as page:
                    href, state, text = page.evaluate(
                        "[location.href, document.readyState,"
                        " document.body ? document.body.innerText : '']")
            except (OSError, ConnectionError, IndexError, KeyError, RuntimeError, TypeError,
                    ValueError):
                return None
            if state != "complete" or request_line(shown_address(href)) != request_line(address):
                return None
            return text if RELOAD_NOTE in text and heading in text else None
        return wait_until(shown, timeout, 0.2, f"the failure page for {address} saying {heading!r}")

    def offered(self) -> list[str]:
        """The addresses the failure page offers, in its order."""
        with DevToolsPage(self.session.devtools_pages()[0]["webSocketDebuggerUrl"]) as page:
            return page.evaluate("Array.from(document.querySelectorAll('a.lookup'))"
                                 ".map(a => a.title)")

    def click(self, selector: str):
        """A real click of the mouse on an element of the page."""
        with DevToolsPage(self.session.devtools_pages()[0]["webSocketDebuggerUrl"]) as page:
            box = page.evaluate(f"(function() {{ var e = document.querySelector({selector!r});"
                                f" e.scrollIntoView({{block: 'center'}});"
                                f" var r = e.getBoundingClientRect(); return [r.x + r.width / 2,"
                                f" r.y + r.height / 2]; }})()")
            self.assertIsNotNone(box, selector)
            for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
                page.call("Input.dispatchMouseEvent",
                          {"type": kind, "x": box[0], "y": box[1], "button": "left",
                           "clickCount": 0 if kind == "mouseMoved" else 1})

    def row_of(self, key: str) -> int:
        """1-based position of key's row among the offered alternatives."""
        return self.offered().index(query(key)) + 1

    def requests_for(self, url: str) -> int:
        line = request_line(url)
        return sum(1 for r in self.session.server.requests() if r.line == line)

    def expect_no_repeat(self, url: str):
        """After the failure page is up, the program asks the failed address no more."""
        asked = self.requests_for(url)
        time.sleep(QUIET_SECONDS)
        self.assertEqual(self.requests_for(url), asked, f"{url} asked again by the program")

    def expect_failure(self, key: str, mode: str, since: int) -> str:
        url = query(key)
        if mode != "refuse":
            self.assertEqual(self.flow.wait_lookup(since).line, request_line(url))
        text = self.wait_failure_page(HEADINGS[mode], url,
                                      RESPONSE_TIMEOUT + 20 if mode == "stall" else 20)
        self.assertIn(TEXT, text)
        self.assertIn(HOSTS[key], text)
        self.assertNotIn("can’t", text)
        self.assertNotIn("ERR_", text)
        # Every other shown site of the category, each with its exact query; not the failed one.
        self.assertEqual(self.offered(), [query(k) for k in KOKUGO if k != key])
        # The failed address stays the tab's address; the page is the program's own.
        pages = self.session.devtools_pages()
        self.assertEqual(len(pages), 1)
        self.assertTrue(pages[0]["url"].startswith(FAILURE_PAGE_PREFIX), pages[0]["url"])
        self.assertEqual(request_line(shown_address(pages[0]["url"])), request_line(url))
        self.expect_no_repeat(url)
        return text

    def reload_from_page_menu(self):
        geometry = self.session.window_geometry(self.window)
        self.session.click(geometry.width // 2, geometry.height - 120, 3, self.window)
        # コピー, 貼り付け, then 再読み込み after the separator.
        wait_until(lambda: desk.menu_open(self.session), 20, 0.05, "the page's menu")
        self.session.key("Down", "Down", "Down", "Return")


class DeadSiteTest(FailurePageCase):

    def test_from_a_dead_site_to_a_working_one(self):
        self.session.fail(HOSTS["yahoo2_kokugo"], "refuse")
        self.session.fail(HOSTS["Excite_kokugo"], "reset")
        self.session.fail(HOSTS["weblio_kokugo"], "404-empty")
        self.session.fail(HOSTS["infoseek_kokugo"], "500-empty")
        self.session.fail(HOSTS["goo_kokugo"], "stall")
        self.start()

        with self.subTest("refused: the category's site"):
            since = self.flow.copy(TEXT)
            self.expect_failure("yahoo2_kokugo", "refuse", since)

        with self.subTest("a link looks the text up at another site, the category stays"):
            since = len(self.session.server.requests())
            self.click(f"li:nth-child({self.row_of('Excite_kokugo')}) a.lookup")
            self.expect_failure("Excite_kokugo", "reset", since)
            # The category's site is still yahoo: a new copy goes there.
            since = self.flow.copy("りんご")
            self.wait_failure_page(HEADINGS["refuse"], query("yahoo2_kokugo", "りんご"))
            self.assertIn("りんご", self.body_text())
            self.flow.copy(TEXT)
            self.wait_failure_page(HEADINGS["refuse"], query("yahoo2_kokugo"))

        with self.subTest("the button makes another site the category's"):
            since = len(self.session.server.requests())
            self.click(f"li:nth-child({self.row_of('weblio_kokugo')}) a.use")
            self.expect_failure("weblio_kokugo", "404-empty", since)
            # The next copy goes to weblio.
            since = self.flow.copy("みかん")
            self.assertEqual(self.flow.wait_lookup(since).line,
                             request_line(query("weblio_kokugo", "みかん")))
            self.wait_failure_page(HEADINGS["404-empty"], query("weblio_kokugo", "みかん"))
            self.flow.copy(TEXT)
            self.wait_failure_page(HEADINGS["404-empty"], query("weblio_kokugo"))

        with self.subTest("reload asks the failed address again"):
            url = query("weblio_kokugo")
            asked = self.requests_for(url)
            self.reload_from_page_menu()
            wait_until(lambda: self.requests_for(url) > asked, 20, 0.1, "the address asked again")
            self.wait_failure_page(HEADINGS["404-empty"], url)
            self.expect_no_repeat(url)

        with self.subTest("500 without a page"):
            since = len(self.session.server.requests())
            self.click(f"li:nth-child({self.row_of('infoseek_kokugo')}) a.use")
            self.expect_failure("infoseek_kokugo", "500-empty", since)

        with self.subTest("a site's own 404 page stays"):
            self.session.server.fail(HOSTS["infoseek2_kokugo"], "404-page")
            since = len(self.session.server.requests())
            self.click(f"li:nth-child({self.row_of('infoseek2_kokugo')}) a.use")
            self.assertEqual(self.flow.wait_lookup(since).line,
                             request_line(query("infoseek2_kokugo")))
            wait_until(lambda: SiteServer.OWN_ERROR_PAGE_TEXT in self.body_text(), 20, 0.2,
                       "the site's own page")
            time.sleep(QUIET_SECONDS)
            self.assertNotIn(RELOAD_NOTE, self.body_text())

        with self.subTest("a site that says nothing times out"):
            since = len(self.session.server.requests())
            started = time.monotonic()
            # Through the category's menu: 国語辞書(&Z), then goo国語辞典(&G).
            test_lookup_flow.SiteMenuTest.open_site_menu(self, self.window)
            desk.keys_in_menus(self.session, "z", "g")
            self.assertEqual(self.flow.wait_lookup(since).line, request_line(query("goo2_kokugo")))
            self.wait_failure_page(HEADINGS["stall"], query("goo2_kokugo"), RESPONSE_TIMEOUT + 20)
            self.assertGreaterEqual(time.monotonic() - started, RESPONSE_TIMEOUT - 1)

        with self.subTest("a working site after all"):
            since = len(self.session.server.requests())
            self.session.server.heal(HOSTS["weblio_kokugo"])
            self.click(f"li:nth-child({self.row_of('weblio_kokugo')}) a.use")
            self.flow.expect_lookup(since, query("weblio_kokugo"))


BAR_BLUE = (0x2f, 0x6d, 0xb5)
BAR_GREY = (0xd8, 0xd8, 0xe0)


class LoadingTest(FailurePageCase):

    def bar_shown(self, top: int) -> bool:
        """The progress bar's row under the toolbar panel is all bar: its grey track and its
        blue part, wherever that is (it moves to and fro while nothing has arrived)."""
        geometry = self.session.window_geometry(self.window)
        shot = self.session.screenshot(self.session.tmp / "bar.png")
        y = geometry.y + top + 54
        row = [shot.pixel(x, y) for x in range(geometry.x + 4, geometry.x + geometry.width - 4, 8)]
        on_bar = [p for p in row if close_to(p, BAR_BLUE, 8) or close_to(p, BAR_GREY, 8)]
        return len(on_bar) >= 0.9 * len(row)

    # Whether a quick page shows no bar is a matter of time, tested with the indicator's own
    # timer; here the page comes only when the server is told to send it.
    def test_a_slow_page_shows_its_loading_until_it_is_there(self):
        host = HOSTS["yahoo2_kokugo"]
        self.session.server.hold(host)
        self.start()
        top = self.flow.panel_top(self.window)
        # The start page is a load of its own: on a busy machine its bar may still be up when
        # its address is already shown. Once it has gone, nothing shows one until a lookup.
        wait_until(lambda: not self.bar_shown(top), 20, 0.1, "no bar before any lookup")
        since = self.flow.copy(TEXT)
        request = self.flow.wait_lookup(since)
        wait_until(lambda: self.bar_shown(top), 20, 0.1, "the progress bar")
        self.session.server.release(host)
        self.flow.wait_loaded(request)
        wait_until(lambda: not self.bar_shown(top), 20, 0.1, "the progress bar to go")


NETWORK_HEADING = "ネットワークに接続されていません"
PROXY_HEADING = "プロキシサーバーに接続できません"
SITE_UNKNOWN_HEADING = "サイトが見つかりません"
NETWORK_NOTICE = "Lexorra2: ネットワークに接続されていません"
PROXY_NOTICE = "Lexorra2: プロキシサーバーに接続できません"
PROXY_DIALOG_TITLE = "Proxy（プロキシ）設定"


class WholeNetworkCase(FailurePageCase):
    """When the network or the proxy is down, every site fails alike: the page says so, offers
    trying again in place of other sites, and the status bar says it once (the program writes
    the notice to its log as well, which is where it is counted)."""

    def notices(self, text: str) -> int:
        return self.session.program_stderr().count(text)

    def action_links(self) -> list[str]:
        with DevToolsPage(self.session.devtools_pages()[0]["webSocketDebuggerUrl"]) as page:
            return page.evaluate("Array.from(document.querySelectorAll('.actions a'))"
                                 ".map(a => a.id)")

    def status_bar_has_text(self) -> bool:
        geometry = self.session.window_geometry(self.window)
        shot = self.session.screenshot(self.session.tmp / "status.png")
        y0 = geometry.y + geometry.height - 17
        return any(sum(shot.pixel(x, y)) < 200
                   for x in range(geometry.x + 2, geometry.x + 300)
                   for y in range(y0, geometry.y + geometry.height - 2))

    def expect_every_site_page(self, heading: str, text: str, cause: str) -> str:
        page = self.wait_failure_page(heading, query("yahoo2_kokugo", text))
        self.assertIn(cause, page)
        self.assertNotIn("ほかのサイトで調べる", page)
        self.assertEqual(self.offered(), [])
        self.assertNotIn("閉鎖された", page)
        return page


class DeadProxyTest(WholeNetworkCase):

    def test_a_proxy_that_refuses_is_blamed_by_name(self):
        from test_settings_files import DEFAULT_LINES, settings_bytes
        closed = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        closed.bind(("127.0.0.1", 0))   # bound, never listening: connections are refused
        self.addCleanup(closed.close)
        proxy = f"127.0.0.1:{closed.getsockname()[1]}"
        lines = list(DEFAULT_LINES)
        lines[34], lines[35] = "0", proxy
        path = self.session.documents / "Lexorra2" / "Lexorra2.ini"
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(settings_bytes(lines))
        self.start()

        self.flow.copy(TEXT)
        self.expect_every_site_page(PROXY_HEADING, TEXT, proxy)
        self.assertEqual(self.action_links(), ["retry", "proxy-settings"])
        wait_until(lambda: self.notices(PROXY_NOTICE) == 1, 20, 0.2, "the notice")
        self.assertTrue(self.status_bar_has_text(), "the notice stays in the status bar")

        # The next copy fails alike: the notice is not said again.
        self.flow.copy("りんご")
        self.expect_every_site_page(PROXY_HEADING, "りんご", proxy)
        self.assertEqual(self.notices(PROXY_NOTICE), 1)

        # The page's button opens the proxy settings.
        self.click("#proxy-settings")
        dialog = self.session.wait_for_window("^" + re.escape(PROXY_DIALOG_TITLE) + "$")
        self.session.activate(dialog)
        self.session.key("Escape")
        wait_until(lambda: self.session.map_state(dialog) != "IsViewable", 10, 0.1,
                   "the dialog to close")
        self.assertEqual(self.notices(PROXY_NOTICE), 1)


class NoNetworkTest(WholeNetworkCase):

    def test_no_name_resolves(self):
        env = self.session.program_env()
        # Straight to the sites, with a resolver that knows no name at all.
        flags = [f for f in env["QTWEBENGINE_CHROMIUM_FLAGS"].split(" ")
                 if not f.startswith(("--proxy-server", "--proxy-bypass-list",
                                      "--host-resolver-rules"))]
        env["QTWEBENGINE_CHROMIUM_FLAGS"] = " ".join(
            flags + ["--no-proxy-server",
                     '--host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"'])
        self.flow = LookupSession(self, self.session)
        self.session.start_program(env=env)
        self.window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p["url"] == test_lookup_flow.START_PAGE_URL)

        self.flow.copy(TEXT)
        page = self.expect_every_site_page(NETWORK_HEADING, TEXT, "ネットワーク")
        self.assertNotIn(SITE_UNKNOWN_HEADING, page)
        self.assertEqual(self.action_links(), ["retry"])
        wait_until(lambda: self.notices(NETWORK_NOTICE) == 1, 20, 0.2, "the notice")

        self.flow.copy("りんご")
        self.expect_every_site_page(NETWORK_HEADING, "りんご", "ネットワーク")
        # Trying again fails the same way, and says nothing new.
        self.click("#retry")
        self.expect_every_site_page(NETWORK_HEADING, "りんご", "ネットワーク")
        self.assertEqual(self.notices(NETWORK_NOTICE), 1)
        self.assertEqual(self.session.server.requests(), [], "no request left the machine")


class OneUnknownSiteTest(WholeNetworkCase):

    def test_one_unknown_site_while_others_answer_offers_the_others(self):
        self.session.fail(HOSTS["goo2_kokugo"], "unresolved")
        self.start()
        # yahoo answers first.
        self.flow.copy_and_expect(TEXT, query("yahoo2_kokugo"))
        self.session.wait_for_page(lambda p: p["title"].startswith("Site dic.yahoo.co.jp"))
        # Through the category's menu: 国語辞書(&Z), then goo国語辞典(&G), whose name is unknown.
        test_lookup_flow.SiteMenuTest.open_site_menu(self, self.window)
        desk.keys_in_menus(self.session, "z", "g")
        page = self.wait_failure_page(SITE_UNKNOWN_HEADING, query("goo2_kokugo"))
        self.assertIn("閉鎖された", page)
        self.assertEqual(self.offered(), [query(k) for k in KOKUGO if k != "goo2_kokugo"])
        self.assertEqual(self.action_links(), [])
        time.sleep(QUIET_SECONDS)
        self.assertEqual(self.notices(NETWORK_NOTICE), 0)
