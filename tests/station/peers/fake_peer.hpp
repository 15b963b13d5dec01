#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

// A loopback TCP server that plays the other end of a connection in a test (a DX cluster node, a
// daemon that hangs or drops its connections). It serves one connection at a time: the newest.

namespace orbelle::station::test {

class FakePeer {
 public:
  FakePeer();
  ~FakePeer();

  bool listen(int port = 0);
  int port() const { return server_.serverPort(); }
  void close() { server_.close(); }

  int connections() const { return connections_; }
  // Every byte received on the current connection, and its "\n"-ended lines without "\r\n".
  const QByteArray& received() const { return received_; }
  QList<QByteArray> lines() const;

  void send(const QByteArray& bytes);
  void drop();

  // Called when a connection arrives, and for every line received.
  std::function<void(FakePeer&)> onConnection;
  std::function<void(FakePeer&, const QByteArray& line)> onLine;

 private:
  QTcpServer server_;
  QPointer<QTcpSocket> socket_;
  QByteArray received_;
  QByteArray partial_;
  int connections_ = 0;
};

}  // namespace orbelle::station::test
