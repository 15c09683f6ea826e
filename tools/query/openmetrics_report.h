// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tools/query/query_snapshot.h"

namespace kestrova {

// A label value for the OpenMetrics text format, without its quotes: each
// byte stands for the code point of the same number (U+0000 to U+00FF),
// written in UTF-8; backslash, double quote and line feed are escaped as
// \\ \" \n.
std::string OpenMetricsLabelValue(std::string_view bytes);

// Whether the cycle's status query got all there was: a valid info reply,
// then a status reply that came whole and was read without failure. This
// is kestrova_status_up.
bool StatusQueryWhole(const QuerySnapshot& snapshot);

// What a report holds beyond the cycle itself.
struct MetricsOptions {
  // The server="ADDRESS:PORT" label that every series carries, so that the
  // texts of several servers can stand side by side; none when empty.
  std::string server;
  // Whether the per-player series are written. A busy public server brings
  // new names all the time, and every name is a new series.
  bool players = true;
};

// The snapshot as metrics in the OpenMetrics text format, every family a
// gauge, ending with "# EOF":
//   kestrova_up                      1 after a valid info reply, else 0
//   kestrova_status_up               1 after a status reply that came whole
//                                    and was read without failure, else 0
//   kestrova_status_incomplete       1 when the status reply lacked a part
//   kestrova_players                 the info reply's clients
//   kestrova_max_players             its sv_maxclients
//   kestrova_info{hostname,map,gametype,protocol}  1, values as sent
//   kestrova_fraglimit, kestrova_timelimit         from the status reply,
//                                    in the server's units (frags, minutes)
//   kestrova_player_frags, _deaths{name}           one series per player;
//   kestrova_player_ping_seconds{name}             a name that an earlier
//                                    player already has adds the label
//                                    n="2", "3", ...; the server's
//                                    milliseconds of ping become seconds
//   kestrova_query_duration_seconds  how long the cycle took
// A value that is not a decimal number, or that the cycle did not get, is
// left out with its series; a family without a series is left out whole.
// The format's text is also valid Prometheus text (version 0.0.4), so the
// output serves node_exporter's textfile collector as it is.
std::string OpenMetricsReport(const QuerySnapshot& snapshot, const MetricsOptions& options = {});

}  // namespace kestrova
