#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""xdnd_drop.py WINDOW ACTION URI...: drops the URIs on the X window WINDOW
from a process of its own, as a file manager does over XDND (version 5),
proposing ACTION (copy, move, link, or ask offering copy and move). Prints
what the target answered: "refused", or "accepted ACTION finished ACTION"."""
import sys

from Xlib import X, Xatom, display, protocol

ACTIONS = {"copy": "XdndActionCopy", "move": "XdndActionMove", "link": "XdndActionLink",
           "ask": "XdndActionAsk"}


def main():
    target_id, action, uris = int(sys.argv[1], 0), sys.argv[2], sys.argv[3:]
    d = display.Display()
    atom = lambda name: d.intern_atom(name)
    name_of = lambda a: d.get_atom_name(a) if a else "none"
    root = d.screen().root
    target = d.create_resource_object("window", target_id)
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, X.InputOutput,
                                event_mask=X.PropertyChangeMask)
    uri_list = atom("text/uri-list")
    payload = b"".join(u.encode("latin-1") + b"\r\n" for u in uris)
    if action == "ask":
        source.change_property(atom("XdndActionList"), Xatom.ATOM, 32,
                               [atom("XdndActionCopy"), atom("XdndActionMove")])
        source.change_property(atom("XdndActionDescription"), Xatom.STRING, 8, b"Copy\0Move\0")
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)

    def send(kind, data):
        event = protocol.event.ClientMessage(window=target, client_type=atom(kind),
                                             data=(32, (source.id, *data)))
        target.send_event(event)
        d.flush()

    geometry = target.get_geometry()
    at = root.translate_coords(target, geometry.width // 2, geometry.height // 2)
    send("XdndEnter", [5 << 24, uri_list, 0, 0])
    send("XdndPosition", [0, (at.x << 16) | at.y, X.CurrentTime, atom(ACTIONS[action])])

    status = None
    while True:
        event = d.next_event()
        if event.type == X.ClientMessage and event.client_type == atom("XdndStatus"):
            status = event.data[1]
            if status[1] & 1:
                send("XdndDrop", [0, X.CurrentTime, 0, 0])
                continue
            send("XdndLeave", [0, 0, 0, 0])
            print("refused")
            return 0
        if event.type == X.SelectionRequest:
            requestor = event.requestor
            if event.target == uri_list:
                requestor.change_property(event.property, uri_list, 8, payload)
                prop = event.property
            else:
                prop = X.NONE
            notify = protocol.event.SelectionNotify(time=event.time, requestor=requestor,
                                                    selection=event.selection, target=event.target,
                                                    property=prop)
            requestor.send_event(notify)
            d.flush()
        if event.type == X.ClientMessage and event.client_type == atom("XdndFinished"):
            finished = event.data[1]
            print("accepted %s finished %s" % (name_of(status[4]), name_of(finished[2]) if finished[1] & 1 else "none"))
            return 0


sys.exit(main())
