"""One module an area of the reader: its pictures and how they look. Each has
pictures(), which yields (file name without extension, picture)."""
