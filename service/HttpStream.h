// An answer body written piece by piece over time, and the connection side that writes it.
#pragma once

#include <boost/asio/any_io_executor.hpp>

#include <functional>
#include <memory>
#include <string>

// The writing side of one connection, handed to a streamed answer once its head is sent. Every
// call is made on the connection's executor; one write at a time.
class IHttpChannel {
public:
    virtual ~IHttpChannel() = default;
    // The strand of the connection: timers of the answer run on it too.
    virtual boost::asio::any_io_executor executor() = 0;
    // Sends the bytes as one piece of the body; done(false) when the client is gone.
    virtual void write(std::string bytes, std::function<void(bool)> done) = 0;
    // The body is complete: the connection goes on with the client's next request or closes.
    virtual void finish() = 0;
    // Closes the connection at once, leaving the answer incomplete.
    virtual void abort() = 0;
    // Calls gone once when the client closes or resets the connection while the answer waits.
    virtual void watchPeer(std::function<void()> gone) = 0;
};

// A body that runs on its own: started with the channel, it ends with finish or abort.
class IHttpStream {
public:
    virtual ~IHttpStream() = default;
    // The head is written; the body begins.
    virtual void start(std::shared_ptr<IHttpChannel> channel) = 0;
};
