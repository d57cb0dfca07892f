// Anchors the compiled-in schema and demo scripts in this library.
