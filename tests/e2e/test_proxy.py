"""The proxy as a user sets it: the options menu's "Proxy(プロキシ）(&P)" entries, the dialog
"Proxy（プロキシ）設定", and where the very next lookup goes.

Three site servers answer: the session's own, which the engine starts with as its proxy (as in
every end-to-end test); a second one that the test names in the dialog; and a third that the
engine's resolver sends every host name to, so that a request made without a proxy reaches it
(and never the network). Which server a lookup reaches, and in which form (a proxy gets the
whole URL in its request line, a site only the path), tells the routes apart.
"""

import re
import time
from urllib.parse import urlsplit

import desktop_helpers as desk
from harness import E2ETestCase, SiteServer, wait_until
from test_lookup_flow import (JAPANESE_DICTIONARY, START_PAGE_URL, is_lookup, request_line,
                              site_query_url)

DIALOG_TITLE = "Proxy（プロキシ）設定"
CHECK_PAGE_CONNECT = b"CONNECT www.ugtop.com:443 HTTP/1.1"
QUIET_SECONDS = 2.0


def dictionary(text: str) -> str:
    return site_query_url(JAPANESE_DICTIONARY, text)


def is_site_lookup(request) -> bool:
    """A page request for a site; the program's requests to this machine are none."""
    return is_lookup(request) and not request.host.startswith("127.0.0.1")


def origin_form(line: bytes) -> bytes:
    """The request line a site gets when asked directly: the path in place of the whole URL."""
    method, target, version = line.split(b" ")
    return b" ".join([method, re.sub(rb"^[a-z]+://[^/]*", b"", target), version])


class ProxyTest(E2ETestCase):

    def setUp(self):
        super().setUp()
        self.chosen = SiteServer(self.session.tmp / "chosen.log")
        self.direct = SiteServer(self.session.tmp / "direct.log")
        for server in (self.chosen, self.direct):
            server.start()
            self.addCleanup(server.stop)

    def start_program(self) -> int:
        env = self.session.program_env()
        env["QTWEBENGINE_CHROMIUM_FLAGS"] += (
            f' --host-resolver-rules="MAP * 127.0.0.1:{self.direct.port}, EXCLUDE 127.0.0.1"')
        self.session.start_program(env=env)
        window = self.session.wait_for_main_window()
        self.session.wait_for_page(lambda p: p["url"] == START_PAGE_URL)
        return window

    def options_menu_entry(self, window: int, *keys: str):
        """Opens "オプション", the first item of the action bar, and presses keys there."""
        items = self.session.action_bar_items(window)
        self.assertGreaterEqual(len(items), 1, "items on the action bar")
        left, right = items[0]
        self.session.click((left + right) // 2, 14, window=window)
        desk.keys_in_menus(self.session, *keys)

    def open_dialog(self, window: int) -> int:
        self.options_menu_entry(window, "p", "z")
        dialog = self.session.wait_for_window("^" + re.escape(DIALOG_TITLE) + "$")
        self.session.activate(dialog)
        return dialog

    def wait_closed(self, dialog: int):
        wait_until(lambda: self.session.map_state(dialog) != "IsViewable", 10, 0.1,
                   "the dialog to close")

    def copy(self, text: str) -> list[int]:
        """Puts text on the clipboard; returns how many requests each server had before."""
        marks = [len(s.requests()) for s in (self.session.server, self.chosen, self.direct)]
        self.session.set_clipboard(text)
        return marks

    def first_lookup(self, marks: list[int], timeout: float = 20.0):
        """Which server got the first page request after marks ("start-up proxy", "chosen
        proxy" or "direct"), and the request."""
        servers = {"start-up proxy": self.session.server, "chosen proxy": self.chosen,
                   "direct": self.direct}

        def find():
            for (name, server), mark in zip(servers.items(), marks):
                lookups = [r for r in server.requests()[mark:] if is_site_lookup(r)]
                if lookups:
                    return name, lookups[0]
            return None
        return wait_until(find, timeout, 0.05, "a lookup at one of the servers")

    def test_the_proxy_set_with_ok_carries_the_very_next_lookup(self):
        window = self.start_program()
        route, request = self.first_lookup(self.copy("辞書"))
        self.assertEqual(route, "start-up proxy", request.line)

        # While the dialog is open, copies start nothing.
        dialog = self.open_dialog(window)
        marks = self.copy("開いている間")
        time.sleep(QUIET_SECONDS)
        for server, mark in zip((self.session.server, self.chosen, self.direct), marks):
            self.assertEqual([r.line for r in server.requests()[mark:] if is_site_lookup(r)], [],
                             "a copy while the dialog is open")

        # ON, the second server's address, OK; then at once a copy.
        self.session.key("Up")
        self.session.key("Tab")
        self.session.key("ctrl+a")
        self.session.type_text(f"127.0.0.1:{self.chosen.port}")
        self.session.key("Return")
        self.wait_closed(dialog)
        route, request = self.first_lookup(self.copy("りんご"))
        self.assertEqual(route, "chosen proxy", f"the very next lookup, {request.line!r}")
        self.assertEqual(request.line, request_line(dictionary("りんご")))

        # The check page goes the same way: its https request asks the proxy for a tunnel.
        mark = len(self.chosen.requests())
        self.options_menu_entry(window, "p", "y")
        self.chosen.wait_for_request(lambda r: r.line == CHECK_PAGE_CONNECT, since=mark)

        # OFF: the very next lookup goes straight to the site.
        dialog = self.open_dialog(window)
        self.session.key("shift+Tab")  # from the address back to OFF
        self.session.key("space")
        self.session.key("Return")
        self.wait_closed(dialog)
        route, request = self.first_lookup(self.copy("みかん"))
        self.assertEqual(route, "direct", f"the very next lookup, {request.line!r}")
        url = dictionary("みかん")
        self.assertEqual(request.line, origin_form(request_line(url)))
        self.assertEqual(request.host, urlsplit(url).hostname)
