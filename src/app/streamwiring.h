// What the room hears of the stream: its title follows the track; the first
// time it goes live the room is told where to listen, once it is in a room;
// when it goes down, and when it comes back, the user is told on standard
// error and in the room window, once for each change.
#pragma once

class ProgramCore;
class StreamSender;

void ConnectStream(StreamSender &stream, ProgramCore &program);
