#!/usr/bin/python3
# Another CalDAV client beside the program, for the publishing tests:
#   caldav_peer.py URL USER PASSWORD list          UID, SUMMARY and DTSTART lines of each event
#   caldav_peer.py URL USER PASSWORD put UID TEXT  writes an event of that UID, over whatever is there
#   caldav_peer.py URL USER PASSWORD put UID       deletes the event of that UID
import sys

import caldav

url, user, password, command = sys.argv[1:5]
calendar = caldav.DAVClient(url, username=user, password=password).calendar(url=url)
if command == "list":
    for event in calendar.events():
        lines = event.data.replace("\r\n", "\n").replace("\n ", "").split("\n")
        def pick(name):
            return next((l for l in lines if l.split(":")[0].split(";")[0] == name), "")
        print("\t".join([pick("UID")[4:], pick("SUMMARY"), pick("DTSTART")]))
elif command == "put" and len(sys.argv) == 6:
    calendar.event_by_uid(sys.argv[5]).delete()
elif command == "put":
    uid, text = sys.argv[5:7]
    calendar.save_event("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//peer//EN\r\nBEGIN:VEVENT\r\nUID:%s\r\n"
                        "DTSTAMP:20270101T000000Z\r\nDTSTART;VALUE=DATE:20270105\r\nSUMMARY:%s\r\n"
                        "END:VEVENT\r\nEND:VCALENDAR\r\n" % (uid, text))
