// Replaced as the subsystem gains its first class.
