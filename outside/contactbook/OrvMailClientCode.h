#pragma once
// The mail clients whose address books the program can import. The numbers
// are fixed: the program's buttons and settings use them.
enum ORV_MAILCLIENTCODE {
    ORV_MAILCLIENT_NONE = 0,
    ORV_MAILCLIENT_OUTLOOK = 1,
    ORV_MAILCLIENT_WINDOWS_CONTACTS = 2,
    ORV_MAILCLIENT_LOTUS = 4,
    ORV_MAILCLIENT_ICQ = 5,
    ORV_MAILCLIENT_YAHOO = 6,
    ORV_MAILCLIENT_MSN = 10,
};
