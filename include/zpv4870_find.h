/* zpv4870_find.h - "what is out there?": the instruments this machine can reach.
 *
 *     char found[65536];
 *     zpv4870_find_instruments(1.0, ZPV4870_FIND_LAN | ZPV4870_FIND_LOCAL, sizeof found, found);
 *
 * With ZPV4870_FIND_LAN, LAN instruments are found by VXI-11 broadcast on every IPv4 interface
 * that is up (and this host's loopback); with ZPV4870_FIND_MDNS, by DNS-SD through the Avahi daemon; each address
 * is tried on the HiSLIP (4880) and raw SCPI (5025) ports and asked *IDN?, all at once. With
 * ZPV4870_FIND_LOCAL, serial ports and USBTMC devices of this machine are listed too (USBTMC ones
 * asked *IDN?, serial ones not). The call takes about twice the timeout at most.
 *
 * The text is one line per item, fields separated by tabs:
 *     instrument <TAB> address <TAB> manufacturer <TAB> model <TAB> serial <TAB> firmware
 *                <TAB> problem <TAB> resource [<TAB> resource ...]
 *     note <TAB> text
 * Fields never hold a tab or a line feed. problem is empty when *IDN? answered (or was not asked);
 * notes say where was asked and what could not be (no Avahi daemon, say).
 *
 * Returns 0, the size needed when the text did not fit (the buffer rule of zpv4870.h: with a
 * buffer size of 0 nothing is written; a second call searches again), or
 * ZPV4870_ERROR_INVALID_VALUE for a timeout outside 0.01 to 60 s or unknown option bits.
 */
#ifndef ZPV4870_FIND_H
#define ZPV4870_FIND_H

#include "zpv4870.h"

#define ZPV4870_FIND_LAN 1
#define ZPV4870_FIND_MDNS 2
#define ZPV4870_FIND_LOCAL 4

#if defined(__cplusplus)
extern "C" {
#endif

ZPV4870_EXPORT ViStatus zpv4870_find_instruments(ViReal64 timeoutSeconds, ViInt32 options, ViInt32 bufferSize,
                                                ViChar found[]);

#if defined(__cplusplus)
}
#endif

#endif
