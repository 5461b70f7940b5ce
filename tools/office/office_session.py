"""A private, headless LibreOffice instance driven through its Python bridge.

The instance gets its own profile in a temporary folder and listens on a pipe
whose name is unique to this process. It is always stopped by its process id,
also when the work inside the session fails.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

OFFICE_PROGRAM = "/usr/lib/libreoffice/program/soffice.bin"
RESTART_REQUESTED = 81


def properties(**values):
    """A tuple of PropertyValue, as the office API takes its options."""
    result = []
    for name, value in values.items():
        prop = PropertyValue()
        prop.Name = name
        prop.Value = value
        result.append(prop)
    return tuple(result)


def file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


class OfficeSession:
    """Context manager: `with OfficeSession() as office: office.desktop ...`."""

    def __init__(self, start_timeout=60.0):
        self.start_timeout = start_timeout
        self.process = None
        self.profile = None
        self.desktop = None

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="tortelet-office-")
        pipe = "tortelet-%d-%d" % (os.getpid(), int(time.time() * 1000))
        try:
            self.desktop = self._connect(pipe)
        except BaseException:
            self._stop()
            raise
        return self

    def _start(self, pipe):
        self.process = subprocess.Popen(
            [OFFICE_PROGRAM, "--headless", "--invisible", "--norestore", "--nologo",
             "--nodefault", "--nofirststartwizard",
             "-env:UserInstallation=" + file_url(self.profile),
             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)

    def __exit__(self, *exc):
        self._stop()
        return False

    def open(self, path, hidden=True, **options):
        """Opens a document read-only; `options` are further load properties, such as Password."""
        document = self.desktop.loadComponentFromURL(
            file_url(path), "_blank", 0, properties(Hidden=hidden, ReadOnly=True, **options))
        if document is None:
            raise RuntimeError("LibreOffice cannot open %s" % path)
        return document

    def _connect(self, pipe):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + self.start_timeout
        self._start(pipe)
        restarts = 0
        while True:
            if self.process.poll() == RESTART_REQUESTED and restarts < 2:
                # A fresh profile asks for one restart after it has been set up.
                restarts += 1
                self._start(pipe)
            elif self.process.poll() is not None:
                raise RuntimeError("LibreOffice ended at start-up with code %d"
                                   % self.process.returncode)
            try:
                context = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                return context.ServiceManager.createInstanceWithContext(
                    "com.sun.star.frame.Desktop", context)
            except NoConnectException:
                if time.monotonic() > deadline:
                    raise RuntimeError("LibreOffice did not answer within %.0f s"
                                       % self.start_timeout)
                time.sleep(0.25)

    def _stop(self):
        if self.process is not None and self.process.poll() is None:
            # Our own process group: soffice.bin may have started helpers of its own.
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()
            except ProcessLookupError:
                pass
        self.process = None
        if self.profile is not None:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None
        self.desktop = None
