// Stands in for a folder that has no code of its own yet, so every library target exists.
